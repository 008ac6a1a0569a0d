#pragma once

namespace ek {

class ekSpatial;

// Walks a subtree depth first, parents before children, children in index
// order. Each spatial is first offered to the functor's accept; a refused
// spatial is not visited and neither is anything below it.
class ekSceneGraphVisitor {
public:
    class Functor {
    public:
        virtual ~Functor() = default;
        virtual void visit(ekSpatial* spatial) = 0;
        virtual bool accept(ekSpatial* spatial);
    };

    explicit ekSceneGraphVisitor(Functor& functor) : m_functor(functor) {}

    // Does nothing for a null root.
    void apply(ekSpatial* root);

private:
    Functor& m_functor;
};

} // namespace ek
