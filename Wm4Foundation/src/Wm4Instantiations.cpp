#include "Wm4/Wm4Foundation.h"

// One definition of the single-precision constants for every user of the
// shared library.
namespace Wm4 {

template class Vector2<float>;
template class Vector3<float>;
template class Matrix3<float>;
template class Vector3<double>;
template class Matrix3<double>;

} // namespace Wm4
