#pragma once
// TApplication: the program's application object.  An exception that
// escapes any event handler ends up here; its message is shown in a
// message box (EAbort silently ignored) and the event loop goes on.

#include <QApplication>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The table file named on the command line ("tablemaint [FILE]") as a
    // full path, empty when none is named; `arguments` as Qt leaves them
    // (its own options removed).
    static QString FileArgument(const QStringList& arguments);
};
