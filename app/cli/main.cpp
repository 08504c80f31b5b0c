// zrv10-cli: the command-line companion over the core library.
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() < 2 || args.at(1) == QLatin1String("--help")) {
        QTextStream(stdout) << "usage: zrv10-cli COMMAND ...\n";
        return args.size() < 2 ? 2 : 0;
    }
    err << "zrv10-cli: unknown command: " << args.at(1) << "\n";
    return 2;
}
