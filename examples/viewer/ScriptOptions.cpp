// The script commands that turn the gizmo's opt-in features on and off:
// handles, snap and fade.
#include "ScriptRunner.h"

#include "EditorSession.h"
#include "ScriptInput.h"

namespace ek::viewer {
namespace {

// The word after "snap" that names a step, as SnapStep orders them.
bool readSnapKind(const QString& word, SnapStep& kind)
{
    const int index = indexOfWord(word, {"translate", "rotate", "scale"});
    if (index < 0) {
        return false;
    }
    kind = static_cast<SnapStep>(index);
    return true;
}

// A two-word command's second word: on (true) or off (false) by its names.
bool readSwitch(const QStringList& words, const char* on, const char* off, bool& out)
{
    if (words.size() != 2 || (words[1] != QLatin1String(on) && words[1] != QLatin1String(off))) {
        return false;
    }
    out = words[1] == QLatin1String(on);
    return true;
}

} // namespace

bool ScriptRunner::option(const QStringList& words, QString& error)
{
    const QString command = words[0].toLower();
    bool on = false;
    if (command == QLatin1String("snap")) {
        if (words.size() == 2 && words[1] == QLatin1String("off")) {
            m_session.resetSnapping();
            return true;
        }
        SnapStep kind = SnapStep::Translate;
        if (words.size() != 3 || !readSnapKind(words[1], kind)) {
            error = QStringLiteral("snap takes 'off', or translate, rotate or scale and a step");
            return false;
        }
        double step = 0.0;
        if (!readSnapStep(words[2], kind, step, error)) {
            return false;
        }
        m_session.setSnapStep(kind, float(step));
        return true;
    }
    const bool handles = command == QLatin1String("handles");
    if (!readSwitch(words, handles ? "extended" : "on", handles ? "specified" : "off", on)) {
        error = handles ? QStringLiteral("handles takes 'extended' or 'specified'")
                        : QStringLiteral("fade takes 'on' or 'off'");
        return false;
    }
    if (m_session.isBusy()) {
        error = QStringLiteral("%1 while a drag is under way").arg(command);
        return false;
    }
    if (handles) {
        m_session.setExtendedHandles(on);
    } else {
        m_session.setFading(on);
    }
    return true;
}

} // namespace ek::viewer
