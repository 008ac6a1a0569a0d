# The viewer's editing session without Qt: scene, selection, navigation,
# edits, undo, the JSON report and the layout of the lit solids. The
# desktop viewer and the browser demo both compile it from here.
set(ek3d_viewer_session_sources
    ClipPoint.cpp
    EditorSession.cpp
    JsonReport.cpp
    ManipulationTracker.cpp
    Mesh.cpp
    OrbitCamera.cpp
    ParameterEditor.cpp
    SceneBuilder.cpp
    SessionEditing.cpp
    SessionNavigation.cpp
    SessionOptions.cpp
    SessionReadout.cpp
    SessionSelection.cpp
    SolidDrawing.cpp
    UndoStack.cpp
    ViewLayout.cpp)
list(TRANSFORM ek3d_viewer_session_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
