// The editor window's inspector, offscreen: its boxes follow a drag while
// it is under way, and a value typed into one is an edit that undo takes
// back, with the keyboard handed back to the view.
#include "EditorSession.h"
#include "EditorWindow.h"
#include "JsonReport.h"

#include <ek3DManipulation/ek3DManipulationLibrary.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSize>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>

namespace ek::viewer {
namespace {

// The position boxes show three decimals: a value and what they show agree
// to half the last one, plus the float's rounding.
constexpr double kShownTolerance = 0.0005 + 1e-6;

class InspectorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        s_app = std::make_unique<QApplication>(s_argc, s_argv);
        initialize3DManipulationLibrary();
    }
    static void TearDownTestSuite()
    {
        terminate3DManipulationLibrary();
        s_app.reset();
    }

    void SetUp() override
    {
        window.showWithViewSize(QSize(800, 600));
        // Keys then go where the keyboard is, as a user's do.
        window.activateWindow();
        QCoreApplication::processEvents();
        window.view().advanceFrame();
    }

    QDoubleSpinBox& box(const char* name)
    {
        auto* found = window.findChild<QDoubleSpinBox*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }
    // A left-button event at pixel (x, y) of the view, then a frame.
    void mouse(QEvent::Type type, int x, int y)
    {
        const QPointF at(x, y);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, window.view().mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&window.view(), &event);
        window.view().advanceFrame();
    }
    void key(QWidget& target, Qt::Key code, Qt::KeyboardModifiers modifiers, const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, code, modifiers, text);
        QCoreApplication::sendEvent(&target, &press);
        QKeyEvent release(QEvent::KeyRelease, code, modifiers, text);
        QCoreApplication::sendEvent(&target, &release);
    }
    float crateWorld(int axis) const
    {
        const ekNode& crate = *session.objects()[session.findObject("crate")].node;
        return crate.getWorldTransform().GetTranslate()[axis];
    }

    static inline int s_argc = 1;
    static inline char s_name[] = "test_viewer";
    static inline char* s_argv[] = {s_name, nullptr};
    static inline std::unique_ptr<QApplication> s_app;
    std::ostringstream lines;
    JsonReport report{lines};
    EditorSession session{report};
    EditorWindow window{session, report};
};

TEST_F(InspectorTest, BoxesFollowADragWhileItIsUnderWay)
{
    // From the X tip, one arrow's length further along it.
    const ScreenPoint tip = session.lastLayout().tips[0];
    const ScreenPoint centre = session.lastLayout().centre;
    const int x = int(std::lround(tip.x));
    const int y = int(std::lround(tip.y));
    const int dx = int(std::lround(tip.x - centre.x));
    const int dy = int(std::lround(tip.y - centre.y));
    mouse(QEvent::MouseButtonPress, x, y);
    mouse(QEvent::MouseMove, x + dx, y + dy);
    ASSERT_TRUE(session.isBusy());
    // Moved along X by more than the boxes' rounding, and shown as it stands.
    EXPECT_GT(crateWorld(0), 0.1f);
    EXPECT_NEAR(box("position.x").value(), crateWorld(0), kShownTolerance);
    EXPECT_NEAR(box("position.y").value(), crateWorld(1), kShownTolerance);
    mouse(QEvent::MouseButtonRelease, x + 2 * dx, y + 2 * dy);
    EXPECT_NEAR(box("position.x").value(), crateWorld(0), kShownTolerance);
}

TEST_F(InspectorTest, ATypedValueIsAnEditThatUndoTakesBack)
{
    QDoubleSpinBox& height = box("position.y");
    ASSERT_DOUBLE_EQ(height.value(), 1.0);
    height.setFocus(Qt::MouseFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), &height);
    height.selectAll();
    for (const char c : std::string("2.5")) {
        key(height, Qt::Key(c), Qt::NoModifier, QString(QLatin1Char(c)));
    }
    key(height, Qt::Key_Return, Qt::NoModifier, QString());
    window.view().advanceFrame();
    EXPECT_EQ(crateWorld(1), 2.5f);
    EXPECT_NE(lines.str().find(R"({"event":"edit","objects":[{"name":"crate")"), std::string::npos);
    // Enter handed the keyboard back to the view: Ctrl+Z is the editor's
    // undo, not the box's own.
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    key(*QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier, QString());
    window.view().advanceFrame();
    EXPECT_EQ(crateWorld(1), 1.0f);
    EXPECT_NE(lines.str().find(R"({"event":"undo","kind":"edit")"), std::string::npos);
    EXPECT_DOUBLE_EQ(height.value(), 1.0);
}

} // namespace
} // namespace ek::viewer
