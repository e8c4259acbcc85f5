#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvex"));
    QApplication::setOrganizationName(QStringLiteral("Tolvex"));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tolvex"));
    window.resize(500, 338);
    window.show();
    return app.exec();
}
