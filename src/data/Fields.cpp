#include "data/Fields.h"

#include "platform/Exceptions.h"

#include <strings.h>

TField* TFields::Field(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FItems[static_cast<size_t>(index)].get();
}

TField* TFields::FindField(const std::string& name) const
{
    for (const auto& field : FItems)
        if (strcasecmp(field->FieldName().c_str(), name.c_str()) == 0)
            return field.get();
    return nullptr;
}

TField* TFields::FieldByName(const std::string& name) const
{
    if (TField* field = FindField(name))
        return field;
    throw EDatabaseError("Field '" + name + "' not found");
}

int TFields::IndexOf(const TField* field) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == field)
            return static_cast<int>(i);
    return -1;
}

TField* TFields::Add(std::unique_ptr<TField> field)
{
    field->FDataSet = FDataSet;
    FItems.push_back(std::move(field));
    return FItems.back().get();
}

std::unique_ptr<TField> TFields::Remove(TField* field)
{
    int index = IndexOf(field);
    if (index < 0)
        return nullptr;
    std::unique_ptr<TField> owned = std::move(FItems[static_cast<size_t>(index)]);
    FItems.erase(FItems.begin() + index);
    owned->FDataSet = nullptr;
    return owned;
}

void TFields::Clear()
{
    // Destroy from the end, one at a time, so free notifications see a
    // consistent list.
    while (!FItems.empty()) {
        std::unique_ptr<TField> field = std::move(FItems.back());
        FItems.pop_back();
        field.reset();
    }
}

void TFields::Move(int fromIndex, int toIndex)
{
    if (fromIndex < 0 || fromIndex >= Count() || toIndex < 0 || toIndex >= Count())
        throw EListError("List index out of bounds (" + std::to_string(fromIndex < 0 || fromIndex >= Count() ? fromIndex : toIndex) + ")");
    std::unique_ptr<TField> field = std::move(FItems[static_cast<size_t>(fromIndex)]);
    FItems.erase(FItems.begin() + fromIndex);
    FItems.insert(FItems.begin() + toIndex, std::move(field));
}

std::vector<std::string> SplitFieldNames(const std::string& names)
{
    std::vector<std::string> result;
    size_t start = 0;
    while (start <= names.size()) {
        size_t end = names.find(';', start);
        if (end == std::string::npos)
            end = names.size();
        std::string name = names.substr(start, end - start);
        size_t first = name.find_first_not_of(" \t");
        size_t last = name.find_last_not_of(" \t");
        if (first != std::string::npos)
            result.push_back(name.substr(first, last - first + 1));
        start = end + 1;
    }
    return result;
}
