#include "app/Application.h"

#include "ui/ExceptionReport.h"

#include <QFileInfo>

QString TApplication::FileArgument(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QStringLiteral("--")) {
            if (i + 1 < arguments.size())
                return QFileInfo(arguments[i + 1]).absoluteFilePath();
            break;
        }
        if (argument.isEmpty() || argument.startsWith(QLatin1Char('-')))
            continue;
        return QFileInfo(argument).absoluteFilePath();
    }
    return QString();
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportException(std::current_exception());
        return false;
    }
}
