#pragma once

#include "ekSceneGraphVisitor.h"
#include "ekSpatial.h"

#include <vector>

namespace ek {
namespace ekMeshUtils {

// Collects the spatials of type T (or derived from it) that a walk reaches.
// Excluded spatials, and spatials in culling mode CULL_ALWAYS, are refused
// (with their subtrees) unless the matching flag accepts them.
template <class T>
class GetNodeFunctor : public ekSceneGraphVisitor::Functor {
public:
    GetNodeFunctor(std::vector<T*>& output, bool acceptExcluded, bool acceptNeverDrawn)
        : m_output(&output), m_acceptExcluded(acceptExcluded), m_acceptNeverDrawn(acceptNeverDrawn)
    {
    }

    void visit(ekSpatial* spatial) override
    {
        if (spatial != nullptr && spatial->IsDerived(T::TYPE)) {
            m_output->push_back(static_cast<T*>(spatial));
        }
    }

    bool accept(ekSpatial* spatial) override
    {
        return (m_acceptExcluded || !spatial->isExcluded())
            && (m_acceptNeverDrawn || spatial->getCullingMode() != ekSpatial::CULL_ALWAYS);
    }

private:
    std::vector<T*>* m_output;
    bool m_acceptExcluded;
    bool m_acceptNeverDrawn;
};

} // namespace ekMeshUtils
} // namespace ek
