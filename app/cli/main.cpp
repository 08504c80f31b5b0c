// SPDX-License-Identifier: GPL-3.0-or-later
// zrv10-cli: the command-line companion over the core library. Errors go to standard error with a
// non-zero exit status, and no command leaves a partial output file behind.
#include "CliCommands.h"
#include "program/PageDrawingApplication.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QTextStream>

#include <cstring>
#include <memory>

namespace {

const TCliCommand* findCommand(const QString& group, const QString& verb) {
    for (const TCliCommand& c : CliCommands())
        if (group == QLatin1String(c.Group) && verb == QLatin1String(c.Verb))
            return &c;
    return nullptr;
}

int usage(QTextStream& out, int status) {
    out << "usage: zrv10-cli GROUP COMMAND [options]\n\n";
    for (const TCliCommand& c : CliCommands())
        out << "  " << c.Usage << "\n";
    out << "\ncommon options: --flow-unit UNIT  --pressure-unit UNIT  --code-page N  --help  --version\n"
        << "units by name (l/h, kPa, ...) or index; \"zrv10-cli GROUP COMMAND --help\" describes one command\n";
    return status;
}

// A PDF report is drawn with the fonts and printing of the GUI libraries; every other command,
// and the report as text, runs on Qt Core alone.
bool drawsPages(int argc, char** argv) {
    // Chart pictures are drawn by the same chart the records window shows.
    if (argc >= 3 && std::strcmp(argv[1], "record") == 0 && std::strcmp(argv[2], "chart") == 0)
        return true;
    if (argc < 2 || std::strcmp(argv[1], "report") != 0)
        return false;
    // Only the certificate's PDF is drawn; its other formats are text and a workbook.
    if (argc >= 3 && std::strcmp(argv[2], "certificate") == 0) {
        for (int i = 3; i + 1 < argc; ++i)
            if (std::strcmp(argv[i], "-o") == 0 || std::strcmp(argv[i], "--o") == 0) {
                return QByteArray(argv[i + 1]).toLower().endsWith(".pdf");
            }
        return true;
    }
    for (int i = 2; i < argc; ++i)
        if (std::strcmp(argv[i], "--text") == 0)
            return false;
    return true;
}

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    if (!drawsPages(argc, argv))
        return std::make_unique<QCoreApplication>(argc, argv);
    return MakePageDrawingApplication(argc, argv);
}

} // namespace

int main(int argc, char** argv) {
    const std::unique_ptr<QCoreApplication> application = makeApplication(argc, argv);
    QCoreApplication& app = *application;
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage(err, 2);
    if (args.first() == QLatin1String("--help") || args.first() == QLatin1String("help"))
        return usage(out, 0);
    if (args.first() == QLatin1String("--version")) {
        out << "zrv10-cli " << ZRV_VERSION << "\n";
        return 0;
    }
    const TCliCommand* command = findCommand(args.value(0), args.value(1));
    if (!command) {
        err << "zrv10-cli: unknown command: " << args.mid(0, 2).join(' ') << "\n";
        return usage(err, 2);
    }
    const TCliOptions options =
        ParseCliOptions(args.mid(2), QCoreApplication::applicationFilePath(), command->Options,
                        QStringLiteral("usage: zrv10-cli ") + QLatin1String(command->Usage),
                        QString::fromUtf8(command->Description));
    if (!options.Error.isEmpty()) {
        err << "zrv10-cli: " << options.Error << "\n";
        return 2;
    }
    if (options.Help) {
        out << options.HelpText;
        return 0;
    }
    if (options.Version) {
        out << "zrv10-cli " << ZRV_VERSION << "\n";
        return 0;
    }
    return command->Run(options, out, err);
}
