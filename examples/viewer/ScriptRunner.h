#pragma once

#include <QEvent>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace ek::viewer {

class EditorSession;
class JsonReport;
class ViewerWidget;

// Plays a scripted session: real Qt mouse, wheel and key events sent to
// the widget (so the gizmo's filter sees them as it sees a user's), one
// frame after each, and PNG snapshots.
//
// One command per line; '#' starts a comment. Positions are window pixels
// (origin top-left, y down):
//   frame                      run one more frame
//   size W H                   resize the window
//   move P                     move the cursor (buttons held stay held)
//   press P [left|right|middle] [shift] [ctrl]
//   release P [left|right|middle] [shift] [ctrl]
//   click P [shift] [ctrl]     left press and release
//   drag P P [steps N]         left drag in N moves (default 8)
//   rightdrag P P [steps N]    the same with the right button
//   middledrag P P [steps N]   the same with the middle button
//   wheel P NOTCHES            positive notches zoom in, towards P
//   key SEQUENCE               W, F, F1, Esc, Ctrl+Z, Ctrl+Shift+Z, ?
//   focus                      frame the selection, as F does
//   edit NAME position X Y Z   set an object's position, rotation
//   edit NAME rotation X Y Z   (degrees) or scale as the inspector does,
//   edit NAME scale X Y Z      world or local as the orientation says
//   snapshot NAME              write NAME.png to the output folder
//   handles extended|specified the gizmo's extended handles on or off
//   snap translate|rotate|scale STEP   set that step, snapping on
//   snap off                   back to 5-degree rotations, free moves
//   fade on|off                edge-on fading
// A point P is "X Y", or a handle of the latest layout: center, tip0..2,
// ring0..2, plane0..2, screen, viewring (the last three with extended
// handles), or @NAME for an object's centre. A handle may be followed by
// an offset "DX DY", or a tip by "along D": D pixels along its arrow.
//
// Input outside the bounds of ScriptInput.h stops the run, as does any
// word it cannot read: nothing is clamped or guessed. NAME is a plain file
// name (letters, digits, '-', '_', '.'; no leading '.').
class ScriptRunner {
public:
    // All three must outlive the runner; outDir must exist.
    ScriptRunner(ViewerWidget& widget, EditorSession& session, JsonReport& report,
                 const QString& outDir);

    // Runs every line; stops at the first it cannot run, with error set to
    // "line N: what".
    bool run(const QString& script, QString& error);

private:
    bool runCommand(const QStringList& words, QString& error);
    bool resize(const QStringList& words, int& at, QString& error);
    bool readPoint(const QStringList& words, int& at, QPoint& out, QString& error) const;
    // A handle with its offset or its 'along D', if any.
    bool readHandlePoint(const QStringList& words, int& at, double& x, double& y,
                         QString& error) const;
    bool readHandle(const QString& name, double& x, double& y, int& tip) const;
    bool drag(const QStringList& words, Qt::MouseButton button, QString& error);
    bool wheel(const QStringList& words, int& at, QString& error);
    bool key(const QString& sequence, QString& error);
    bool edit(const QStringList& words, QString& error);
    // handles, snap and fade.
    bool option(const QStringList& words, QString& error);
    bool snapshot(const QString& name, QString& error);
    // Runs one frame, unless the script has used up kMaxScriptFrames.
    bool advanceFrame(QString& error);
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    ViewerWidget& m_widget;
    EditorSession& m_session;
    JsonReport& m_report;
    QString m_outDir;
    Qt::MouseButtons m_held;
    int m_frames = 0;
    qint64 m_snapshotPixels = 0;
};

} // namespace ek::viewer
