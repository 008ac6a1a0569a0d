#include "ScriptInput.h"

#include <QByteArray>
#include <QFile>

#include <cmath>
#include <cstddef>

namespace ek::viewer {
namespace {

// Longest snapshot name, characters: well inside a file name's 255 bytes
// with ".png" added.
constexpr int kMaxNameLength = 100;

} // namespace

bool readScript(const QString& path, QString& script, QString& error)
{
    QFile file(path);
    // One byte past the bound tells a longer script from one that fits.
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.read(kMaxScriptBytes + 1)
                                                            : QByteArray();
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("cannot read it: %1").arg(file.errorString());
        return false;
    }
    int line = 1;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i == kMaxScriptBytes) {
            error = QStringLiteral("line %1: the script is longer than %2 bytes")
                        .arg(line)
                        .arg(kMaxScriptBytes);
            return false;
        }
        if (bytes[i] == '\0') {
            error = QStringLiteral("line %1: a NUL byte; a script is text").arg(line);
            return false;
        }
        line += bytes[i] == '\n' ? 1 : 0;
    }
    script = QString::fromUtf8(bytes);
    return true;
}

bool looksNumeric(const QString& word)
{
    bool ok = false;
    word.toDouble(&ok);
    if (ok || word.isEmpty()) {
        return ok;
    }
    const QChar first = word.at(0);
    return first.isDigit() || first == QLatin1Char('-') || first == QLatin1Char('+')
           || first == QLatin1Char('.');
}

bool readPixels(const QString& word, double& out, QString& error)
{
    bool ok = false;
    const double value = word.toDouble(&ok);
    // Written so that NaN fails too.
    if (!ok || !(std::fabs(value) <= kMaxPixels)) {
        error = word.isEmpty() ? QStringLiteral("a number of pixels is missing")
                               : QStringLiteral("'%1' is not a number of pixels between -%2 and %2")
                                     .arg(word)
                                     .arg(kMaxPixels, 0, 'f', 0);
        return false;
    }
    out = value;
    return true;
}

bool readEditValue(const QString& word, TransformPart part, double& out, QString& error)
{
    double minimum = -kMaxEditPosition;
    double maximum = kMaxEditPosition;
    const char* what = "a position";
    if (part == TransformPart::Rotation) {
        minimum = -kMaxEditDegrees;
        maximum = kMaxEditDegrees;
        what = "an angle in degrees";
    } else if (part == TransformPart::Scale) {
        minimum = kMinEditScale;
        maximum = kMaxEditScale;
        what = "a scale";
    }
    bool ok = false;
    const double value = word.toDouble(&ok);
    // Written so that NaN fails too.
    if (!ok || !(value >= minimum && value <= maximum)) {
        error = QStringLiteral("'%1' is not %2 from %3 to %4")
                    .arg(word, QLatin1String(what))
                    .arg(minimum)
                    .arg(maximum);
        return false;
    }
    out = value;
    return true;
}

bool readSnapStep(const QString& word, SnapStep kind, double& out, QString& error)
{
    static const char* const what[] = {"a translate step", "a rotate step", "a scale step"};
    static const char* const unit[] = {" world units", " degrees", ""};
    const auto index = std::size_t(kind);
    bool ok = false;
    const double value = word.toDouble(&ok);
    // Written so that NaN fails too.
    if (!ok || !(value == 0.0 || (value >= kMinSnapSteps[index] && value <= kMaxSnapSteps[index]))) {
        error = word.isEmpty() ? QStringLiteral("%1 is missing").arg(QLatin1String(what[index]))
                               : QStringLiteral("'%1' is not %2: 0 (free) or from %3 to %4%5")
                                     .arg(word, QLatin1String(what[index]))
                                     .arg(kMinSnapSteps[index])
                                     .arg(kMaxSnapSteps[index])
                                     .arg(QLatin1String(unit[index]));
        return false;
    }
    out = value;
    return true;
}

int indexOfWord(const QString& word, std::initializer_list<const char*> names)
{
    int index = 0;
    for (const char* name : names) {
        if (word == QLatin1String(name)) {
            return index;
        }
        ++index;
    }
    return -1;
}

bool readWhole(const QString& word, int min, int max, int& out)
{
    bool ok = false;
    const int value = word.toInt(&ok, 10);
    if (!ok || value < min || value > max) {
        return false;
    }
    out = value;
    return true;
}

bool isPlainName(const QString& name)
{
    if (name.isEmpty() || name.size() > kMaxNameLength || name.startsWith(QLatin1Char('.'))) {
        return false;
    }
    for (const QChar c : name) {
        // Beyond ASCII, toLatin1 gives a byte outside every range here.
        const char ascii = c.toLatin1();
        const bool allowed = (ascii >= 'a' && ascii <= 'z') || (ascii >= 'A' && ascii <= 'Z')
                             || (ascii >= '0' && ascii <= '9') || ascii == '-' || ascii == '_'
                             || ascii == '.';
        if (!allowed) {
            return false;
        }
    }
    return true;
}

} // namespace ek::viewer
