// The program: a headless run when the command line asks for one, else the
// window.
#include "app/CMyApp.h"
#include "app/CommandLine.h"

#include <QApplication>

int main(int argc, char** argv)
{
    if (const std::optional<int> status = mc::app::RunHeadless(argc, argv))
        return *status;

    QApplication qapp(argc, argv);
    CMyApp app;
    if (!app.InitInstance(QApplication::arguments()))
        return app.ExitInstance(1);
    return app.ExitInstance(QApplication::exec());
}
