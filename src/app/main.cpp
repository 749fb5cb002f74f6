// Program entry: the frame takes over from here.
#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Hearthkeep"));
    return 0;
}
