#pragma once
// Qt's own texts (the file dialog, the message boxes' buttons, the
// standard context menus) in Simplified Chinese to match the program's
// interface, from Qt's translation catalogue when it is installed.

#include <QString>

class QCoreApplication;

// Installs qtbase_zh_CN from `directory` (by default where Qt keeps its
// translations); false, with Qt's texts left in English, when it is missing.
bool InstallQtTranslations(QCoreApplication& application, const QString& directory = QString());
