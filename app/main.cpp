// Zorv Label: start-up of the application.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zorv Label");
    QApplication::setOrganizationName("Zorv");
    QMainWindow window;
    window.setWindowTitle("Zorv Label");
    window.resize(1100, 760);
    window.show();
    return app.exec();
}
