// gizmo-viewer: an editor-like window on the gizmo library. With a display
// it is interactive; without one (or with --headless) it plays a script on
// Qt's offscreen platform and writes PNG frames. Either way it prints one
// JSON object per line on stdout: layouts, manipulations, cancelled drags,
// undo and redo.
#include "EditorSession.h"
#include "EditorWindow.h"
#include "JsonReport.h"
#include "ScriptInput.h"
#include "ScriptRunner.h"
#include "ViewerWidget.h"

#include <ek3DManipulation/ek3DManipulationLibrary.h>

#include <QApplication>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDir>
#include <QSize>
#include <QStringList>

#include <cstring>
#include <iostream>

namespace {

// The window's size unless --size says otherwise, pixels.
constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 600;

// Decided before QApplication exists, since the platform is chosen then.
bool runsHeadless(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--headless") == 0) {
            return true;
        }
    }
    return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QSize parseSize(const QString& text)
{
    using ek::viewer::kMaxWindowSide;
    using ek::viewer::readWhole;
    const QStringList parts = text.split(QLatin1Char('x'));
    int width = 0;
    int height = 0;
    const bool ok = parts.size() == 2 && readWhole(parts[0], 1, kMaxWindowSide, width)
                    && readWhole(parts[1], 1, kMaxWindowSide, height);
    return ok ? QSize(width, height) : QSize();
}

int playScript(ek::viewer::ViewerWidget& widget, ek::viewer::EditorSession& session,
               ek::viewer::JsonReport& report, const QString& scriptPath, const QString& outDir)
{
    if (!QDir().mkpath(outDir)) {
        std::cerr << "gizmo-viewer: cannot create " << outDir.toStdString() << '\n';
        return 1;
    }
    ek::viewer::ScriptRunner runner(widget, session, report, outDir);
    QString script;
    QString error;
    if (!ek::viewer::readScript(scriptPath, script, error) || !runner.run(script, error)) {
        std::cerr << "gizmo-viewer: " << scriptPath.toStdString() << ": " << error.toStdString()
                  << '\n';
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const bool headless = runsHeadless(argc, argv);
    if (headless) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gizmo-viewer"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Interactive 3D gizmos on a small scene. Without a display, or with --headless, plays a "
        "script offscreen and writes PNG frames. Prints JSON lines on stdout: one per finished "
        "manipulation, and a \"cancel\" line, with nothing to undo, for a drag cancelled by Esc "
        "or a right click."));
    parser.addHelpOption();
    const QCommandLineOption headlessOption(QStringLiteral("headless"),
                                            QStringLiteral("Play a script offscreen."));
    const QCommandLineOption scriptOption(QStringLiteral("script"),
                                          QStringLiteral("Script to play when headless."),
                                          QStringLiteral("file"), QStringLiteral(":/scripts/default.txt"));
    const QCommandLineOption outOption(QStringLiteral("out"),
                                       QStringLiteral("Folder for the snapshots."),
                                       QStringLiteral("dir"), QStringLiteral("viewer-frames"));
    const QCommandLineOption sizeOption(QStringLiteral("size"),
                                        QStringLiteral("Size of the 3D view in pixels."),
                                        QStringLiteral("WxH"),
                                        QStringLiteral("%1x%2").arg(kDefaultWidth).arg(kDefaultHeight));
    parser.addOptions({headlessOption, scriptOption, outOption, sizeOption});
    parser.process(app);
    const QSize size = parseSize(parser.value(sizeOption));
    if (!size.isValid()) {
        std::cerr << "gizmo-viewer: --size takes WIDTHxHEIGHT, each from 1 to "
                  << ek::viewer::kMaxWindowSide << ", e.g. 800x600\n";
        return 2;
    }

    ek::initialize3DManipulationLibrary();
    int status = 0;
    {
        ek::viewer::JsonReport report(std::cout);
        ek::viewer::EditorSession session(report);
        if (headless) {
            // The view alone, at exactly the size asked: scripts aim at its
            // pixels and edit through the session as the inspector does.
            ek::viewer::ViewerWidget widget(session);
            widget.resize(size);
            widget.show();
            status = playScript(widget, session, report, parser.value(scriptOption),
                                parser.value(outOption));
        } else {
            ek::viewer::EditorWindow window(session, report);
            window.showWithViewSize(size);
            status = QApplication::exec();
        }
    }
    ek::terminate3DManipulationLibrary();
    return status;
}
