#include "ScriptRunner.h"

#include "EditorSession.h"
#include "JsonReport.h"
#include "ScriptInput.h"
#include "ViewerWidget.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cstddef>

namespace ek::viewer {
namespace {

// Moves a drag makes between its press and its release, unless told.
constexpr int kDefaultDragSteps = 8;
// Angle of one wheel notch, in Qt's eighths of a degree.
constexpr int kWheelNotch = 120;

const char* buttonName(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return "left";
    case Qt::RightButton:
        return "right";
    case Qt::MiddleButton:
        return "middle";
    default:
        return "none";
    }
}

bool readButton(const QString& word, Qt::MouseButton& button)
{
    for (Qt::MouseButton candidate : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        if (word == QLatin1String(buttonName(candidate))) {
            button = candidate;
            return true;
        }
    }
    return false;
}

bool readPart(const QString& word, TransformPart& part)
{
    const int index = indexOfWord(word, {"position", "rotation", "scale"});
    if (index < 0) {
        return false;
    }
    part = static_cast<TransformPart>(index);
    return true;
}

const char* typeName(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
        return "press";
    case QEvent::MouseButtonRelease:
        return "release";
    default:
        return "move";
    }
}

} // namespace

ScriptRunner::ScriptRunner(ViewerWidget& widget, EditorSession& session, JsonReport& report,
                           const QString& outDir)
    : m_widget(widget), m_session(session), m_report(report), m_outDir(outDir)
{
}

bool ScriptRunner::run(const QString& script, QString& error)
{
    m_widget.advanceFrame(); // the first layout
    const QStringList lines = script.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        const int comment = line.indexOf(QLatin1Char('#'));
        if (comment >= 0) {
            line.truncate(comment);
        }
        const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QString what;
        if (!words.isEmpty() && !runCommand(words, what)) {
            error = QStringLiteral("line %1: %2").arg(i + 1).arg(what);
            return false;
        }
    }
    return true;
}

bool ScriptRunner::runCommand(const QStringList& words, QString& error)
{
    const QString command = words[0].toLower();
    int at = 1;
    QPoint point;
    if (command == QLatin1String("frame")) {
        // the frame below is the whole command
    } else if (command == QLatin1String("size")) {
        if (!resize(words, at, error)) {
            return false;
        }
    } else if (command == QLatin1String("move")) {
        if (!readPoint(words, at, point, error)) {
            return false;
        }
        mouse(QEvent::MouseMove, point, Qt::NoButton);
    } else if (command == QLatin1String("press") || command == QLatin1String("release")
               || command == QLatin1String("click")) {
        if (!readPoint(words, at, point, error)) {
            return false;
        }
        Qt::MouseButton button = Qt::LeftButton;
        Qt::KeyboardModifiers modifiers = Qt::NoModifier;
        for (; at < words.size(); ++at) {
            if (words[at] == QLatin1String("shift")) {
                modifiers |= Qt::ShiftModifier;
            } else if (words[at] == QLatin1String("ctrl")) {
                modifiers |= Qt::ControlModifier;
            } else if (!readButton(words[at], button)) {
                break;
            }
        }
        if (command != QLatin1String("release")) {
            m_held |= button;
            mouse(QEvent::MouseButtonPress, point, button, modifiers);
        }
        if (command == QLatin1String("click") && !advanceFrame(error)) {
            return false;
        }
        if (command != QLatin1String("press")) {
            m_held &= ~Qt::MouseButtons(button);
            mouse(QEvent::MouseButtonRelease, point, button, modifiers);
        }
    } else if (command == QLatin1String("drag") || command == QLatin1String("rightdrag")
               || command == QLatin1String("middledrag")) {
        const Qt::MouseButton button = command == QLatin1String("drag")        ? Qt::LeftButton
                                       : command == QLatin1String("rightdrag") ? Qt::RightButton
                                                                               : Qt::MiddleButton;
        if (!drag(words, button, error)) {
            return false;
        }
        at = int(words.size());
    } else if (command == QLatin1String("focus")) {
        m_session.focus();
    } else if (command == QLatin1String("edit")) {
        if (!edit(words, error)) {
            return false;
        }
        at = int(words.size());
    } else if (command == QLatin1String("handles") || command == QLatin1String("snap")
               || command == QLatin1String("fade")) {
        if (!option(words, error)) {
            return false;
        }
        at = int(words.size());
    } else if (command == QLatin1String("wheel")) {
        if (!wheel(words, at, error)) {
            return false;
        }
    } else if (command == QLatin1String("key")) {
        if (!key(words.value(1), error)) {
            return false;
        }
        at = 2;
    } else if (command == QLatin1String("snapshot")) {
        if (!snapshot(words.value(1), error)) {
            return false;
        }
        at = 2;
    } else {
        error = QStringLiteral("unknown command '%1'").arg(words[0]);
        return false;
    }
    if (at < words.size()) {
        error = QStringLiteral("unexpected '%1'").arg(words[at]);
        return false;
    }
    return advanceFrame(error);
}

bool ScriptRunner::resize(const QStringList& words, int& at, QString& error)
{
    int width = 0;
    int height = 0;
    if (!readWhole(words.value(1), 1, kMaxWindowSide, width)
        || !readWhole(words.value(2), 1, kMaxWindowSide, height)) {
        error = QStringLiteral("size needs a width and a height from 1 to %1 pixels")
                    .arg(kMaxWindowSide);
        return false;
    }
    m_widget.resize(width, height);
    at = 3;
    return true;
}

bool ScriptRunner::drag(const QStringList& words, Qt::MouseButton button, QString& error)
{
    int at = 1;
    QPoint from;
    QPoint to;
    if (!readPoint(words, at, from, error) || !readPoint(words, at, to, error)) {
        return false;
    }
    int steps = kDefaultDragSteps;
    if (at < words.size()
        && (words[at] != QLatin1String("steps") || at + 2 != words.size()
            || !readWhole(words[at + 1], 1, kMaxDragSteps, steps))) {
        error = QStringLiteral("a drag ends with its points or with 'steps N', N from 1 to %1")
                    .arg(kMaxDragSteps);
        return false;
    }
    m_held |= button;
    mouse(QEvent::MouseButtonPress, from, button);
    if (!advanceFrame(error)) {
        return false;
    }
    for (int i = 1; i <= steps; ++i) {
        const QPointF step = QPointF(from) + QPointF(to - from) * (double(i) / steps);
        mouse(QEvent::MouseMove, step.toPoint(), Qt::NoButton);
        if (!advanceFrame(error)) {
            return false;
        }
    }
    m_held &= ~Qt::MouseButtons(button);
    mouse(QEvent::MouseButtonRelease, to, button);
    return true;
}

bool ScriptRunner::wheel(const QStringList& words, int& at, QString& error)
{
    QPoint point;
    if (!readPoint(words, at, point, error)) {
        return false;
    }
    int notches = 0;
    if (!readWhole(words.value(at++), -kMaxWheelNotches, kMaxWheelNotches, notches)) {
        error = QStringLiteral("wheel needs a whole number of notches from -%1 to %1")
                    .arg(kMaxWheelNotches);
        return false;
    }
    m_report.input("wheel", point.x(), point.y(), "none");
    QWheelEvent event(QPointF(point), QPointF(m_widget.mapToGlobal(point)), QPoint(),
                      QPoint(0, notches * kWheelNotch), m_held, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QCoreApplication::sendEvent(&m_widget, &event);
    return true;
}

bool ScriptRunner::key(const QString& sequence, QString& error)
{
    const QKeySequence keys = QKeySequence::fromString(sequence, QKeySequence::PortableText);
    if (keys.isEmpty() || keys[0].key() == Qt::Key_unknown) {
        error = QStringLiteral("unknown key '%1'").arg(sequence);
        return false;
    }
    const Qt::Key code = keys[0].key();
    const Qt::KeyboardModifiers modifiers = keys[0].keyboardModifiers();
    // Printable keys carry their text, as a keyboard would give it.
    QString text;
    if (code >= Qt::Key_Space && code <= Qt::Key_AsciiTilde
        && !modifiers.testFlag(Qt::ControlModifier)) {
        const QChar c(code);
        text = modifiers.testFlag(Qt::ShiftModifier) ? QString(c) : QString(c.toLower());
    }
    QKeyEvent press(QEvent::KeyPress, code, modifiers, text);
    QCoreApplication::sendEvent(&m_widget, &press);
    QKeyEvent release(QEvent::KeyRelease, code, modifiers, text);
    QCoreApplication::sendEvent(&m_widget, &release);
    return true;
}

bool ScriptRunner::edit(const QStringList& words, QString& error)
{
    if (words.size() != 6) {
        error = QStringLiteral("edit takes NAME, position, rotation or scale, and three numbers");
        return false;
    }
    const std::size_t object = m_session.findObject(words[1].toStdString());
    if (object == m_session.objects().size()) {
        error = QStringLiteral("no object '%1'").arg(words[1]);
        return false;
    }
    TransformPart part = TransformPart::Position;
    if (!readPart(words[2], part)) {
        error = QStringLiteral("edit sets position, rotation or scale, not '%1'").arg(words[2]);
        return false;
    }
    Wm4::Vector3<float> value;
    for (int axis = 0; axis < 3; ++axis) {
        double number = 0.0;
        if (!readEditValue(words[3 + axis], part, number, error)) {
            return false;
        }
        value[axis] = float(number);
    }
    if (!m_session.edit(object, part, value)) {
        const QString why = part == TransformPart::Rotation
                                ? QStringLiteral("not a rotation once its columns are normalised")
                                : QStringLiteral("not a rotation with a scale");
        error = m_session.isBusy() ? QStringLiteral("an edit while a drag is under way")
                                   : QStringLiteral("the %1 of '%2' cannot be set: its matrix is %3")
                                         .arg(words[2], words[1], why);
        return false;
    }
    return true;
}

bool ScriptRunner::snapshot(const QString& name, QString& error)
{
    if (name.isEmpty()) {
        error = QStringLiteral("snapshot needs a name");
        return false;
    }
    if (!isPlainName(name)) {
        error = QStringLiteral("a snapshot's name is letters, digits, '-', '_' and '.', not "
                               "starting with '.': not '%1'")
                    .arg(name);
        return false;
    }
    m_snapshotPixels += qint64(m_widget.width()) * m_widget.height();
    if (m_snapshotPixels > kMaxSnapshotPixels) {
        error = QStringLiteral("the snapshots pass %1 pixels in all").arg(kMaxSnapshotPixels);
        return false;
    }
    const QString path = QDir(m_outDir).filePath(name + QStringLiteral(".png"));
    if (!m_widget.snapshot().save(path, "PNG")) {
        error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    m_report.snapshot(path.toStdString());
    return true;
}

bool ScriptRunner::advanceFrame(QString& error)
{
    if (++m_frames > kMaxScriptFrames) {
        error = QStringLiteral("the script runs more than %1 frames").arg(kMaxScriptFrames);
        return false;
    }
    m_widget.advanceFrame();
    return true;
}

void ScriptRunner::mouse(QEvent::Type type, QPoint at, Qt::MouseButton button,
                         Qt::KeyboardModifiers modifiers)
{
    m_report.input(typeName(type), at.x(), at.y(), buttonName(button));
    QMouseEvent event(type, QPointF(at), QPointF(m_widget.mapToGlobal(at)), button, m_held,
                      modifiers);
    QCoreApplication::sendEvent(&m_widget, &event);
}

} // namespace ek::viewer
