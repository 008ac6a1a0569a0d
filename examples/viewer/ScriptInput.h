#pragma once

#include "EditorSession.h"
#include "ParameterEditor.h"

#include <QString>
#include <QtGlobal>

#include <initializer_list>

namespace ek::viewer {

// What a script may ask of the viewer. Every bound keeps a run finite and
// every number inside what its conversions can hold, whatever the file.

// Longest script read, bytes.
constexpr qint64 kMaxScriptBytes = 1 << 20;
// Farthest a position may lie from the window's origin, pixels: far outside
// any window, yet well inside an int after the offsets and a drag's steps.
constexpr double kMaxPixels = 1e6;
// Longest side of the window, pixels (a snapshot takes 4 bytes a pixel).
constexpr int kMaxWindowSide = 8192;
// Most moves one drag makes, and most wheel notches one event turns.
constexpr int kMaxDragSteps = 10000;
constexpr int kMaxWheelNotches = 100;
// Most frames a script runs (a few seconds' work), and most pixels its
// snapshots write in all.
constexpr int kMaxScriptFrames = 100000;
constexpr qint64 kMaxSnapshotPixels = 200000000;

// Reads a whole script, at most kMaxScriptBytes of it, so that an endless
// device cannot exhaust memory. False with error "line N: ..." for a longer
// script or one holding a NUL byte, "cannot read it: why" when it cannot.
bool readScript(const QString& path, QString& script, QString& error);

// Whether word is meant as a number rather than a handle's name: it reads
// as one (nan and inf included) or starts as one does.
bool looksNumeric(const QString& word);
// A finite number of pixels within kMaxPixels of zero; otherwise false with
// error saying why.
bool readPixels(const QString& word, double& out, QString& error);
// A finite number an edit of part takes (see ParameterEditor.h); otherwise
// false with error saying why.
bool readEditValue(const QString& word, TransformPart part, double& out, QString& error);
// Snapping steps a script may set, by SnapStep (world units, degrees, scale
// factor): 0 (free) or within [min, max]; a smaller step would round a drag
// to nothing useful, a larger one never lets it move.
constexpr double kMinSnapSteps[] = {0.001, 0.01, 0.001};
constexpr double kMaxSnapSteps[] = {1000.0, 360.0, 100.0};
// A step of kind: 0 or a finite number within its bounds; otherwise false
// with error saying why.
bool readSnapStep(const QString& word, SnapStep kind, double& out, QString& error);
// The index of word among names, or -1 when it is none of them.
int indexOfWord(const QString& word, std::initializer_list<const char*> names);
// A whole decimal number within [min, max].
bool readWhole(const QString& word, int min, int max, int& out);
// A file name of ASCII letters, digits, '-', '_' and '.', not starting with
// '.': no folder, nothing hidden, nothing outside the output folder.
bool isPlainName(const QString& name);

} // namespace ek::viewer
