#include "ui/OpenDialog.h"

#include "ui/DialogService.h"

#include <QFileDialog>
#include <QStringList>

#include <memory>

namespace {

TOpenDialogAnswerer* CurrentAnswerer = nullptr;

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

std::string Trim(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

QStringList ToQStringList(const std::vector<std::string>& list)
{
    QStringList result;
    for (const std::string& item : list)
        result << QString::fromStdString(item);
    return result;
}

} // namespace

std::vector<std::string> QtNameFilters(const std::string& filter)
{
    std::vector<std::string> result;
    if (Trim(filter).empty())
        return result;
    std::vector<std::string> parts = Split(filter, '|');
    for (size_t i = 0; i < parts.size(); i += 2) {
        std::string description = Trim(parts[i]);
        std::string patterns;
        for (const std::string& pattern : Split(i + 1 < parts.size() ? parts[i + 1] : std::string(), ';')) {
            std::string p = Trim(pattern);
            if (!p.empty())
                patterns += (patterns.empty() ? "" : " ") + p;
        }
        if (patterns.empty())
            patterns = "*";
        const std::string shown = "(" + patterns + ")";
        bool showsPatterns = description.size() >= shown.size() &&
                             description.compare(description.size() - shown.size(), shown.size(), shown) == 0;
        if (description.empty())
            result.push_back(shown);
        else
            result.push_back(showsPatterns ? description : description + " " + shown);
    }
    return result;
}

std::string WithDefaultExt(const std::string& fileName, const std::string& defaultExt)
{
    std::string ext = defaultExt;
    while (!ext.empty() && ext.front() == '.')
        ext.erase(ext.begin());
    if (ext.empty() || fileName.empty())
        return fileName;
    size_t nameStart = fileName.find_last_of('/');
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    size_t dot = fileName.find_last_of('.');
    if (dot != std::string::npos && dot > nameStart && dot + 1 < fileName.size())
        return fileName;
    if (dot == fileName.size() - 1 && dot > nameStart)
        return fileName + ext;       // "name." keeps its dot
    return fileName + "." + ext;
}

QFileDialog* TOpenDialog::CreateDialog(QWidget* parent) const
{
    auto* dialog = new QFileDialog(parent, QString::fromStdString(Title.empty() ? std::string("Open") : Title));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    const std::vector<std::string> filters = QtNameFilters(Filter);
    if (!filters.empty()) {
        dialog->setNameFilters(ToQStringList(filters));
        if (FilterIndex >= 1 && FilterIndex <= static_cast<int>(filters.size()))
            dialog->selectNameFilter(QString::fromStdString(filters[static_cast<size_t>(FilterIndex - 1)]));
    }
    std::string suffix = DefaultExt;
    while (!suffix.empty() && suffix.front() == '.')
        suffix.erase(suffix.begin());
    dialog->setDefaultSuffix(QString::fromStdString(suffix));
    if (!InitialDir.empty())
        dialog->setDirectory(QString::fromStdString(InitialDir));
    if (!FileName.empty())
        dialog->selectFile(QString::fromStdString(FileName));
    return dialog;
}

bool TOpenDialog::Execute()
{
    std::string chosen;
    if (TOpenDialogAnswerer* answerer = TOpenDialogAnswerer::Current()) {
        std::optional<std::string> answer =
            answerer->Answer(TOpenDialogRequest{Filter, FilterIndex, DefaultExt, Title, InitialDir, FileName});
        if (!answer)
            return false;
        chosen = *answer;
    } else {
        CheckDialogCanShow("The open dialog");
        std::unique_ptr<QFileDialog> dialog(CreateDialog(DialogParent()));
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
            return false;
        chosen = dialog->selectedFiles().first().toStdString();
        const QStringList filters = dialog->nameFilters();
        FilterIndex = static_cast<int>(filters.indexOf(dialog->selectedNameFilter())) + 1;
        if (FilterIndex < 1)
            FilterIndex = 1;
    }
    FileName = WithDefaultExt(chosen, DefaultExt);
    return true;
}

TOpenDialogAnswerer::TOpenDialogAnswerer(TOpenDialogAnswer answer) : FAnswer(std::move(answer)), FPrevious(CurrentAnswerer)
{
    CurrentAnswerer = this;
}

TOpenDialogAnswerer::TOpenDialogAnswerer(std::optional<std::string> fileName)
    : TOpenDialogAnswerer([fileName](const TOpenDialogRequest&) { return fileName; })
{
}

TOpenDialogAnswerer::~TOpenDialogAnswerer()
{
    CurrentAnswerer = FPrevious;
}

TOpenDialogAnswerer* TOpenDialogAnswerer::Current()
{
    return CurrentAnswerer;
}

std::optional<std::string> TOpenDialogAnswerer::Answer(const TOpenDialogRequest& request)
{
    FRequests.push_back(request);
    return FAnswer(request);
}
