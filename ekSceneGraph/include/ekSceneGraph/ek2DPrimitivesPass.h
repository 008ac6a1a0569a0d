#pragma once

#include "ekGeometry.h"
#include "ekObject.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ek {

class ekSpatial;

// The pass that collects overlay geometry. Libraries register analyse
// functions (process-wide); each analysis calls them, in registration
// order, with the pass and the scene root. What they leave in the
// geometry render batch is drawn on top of the scene.
class ek2DPrimitivesPass {
public:
    using AnalyseFunction = void (*)(ek2DPrimitivesPass* pass, ekSpatial* root);

    // False for null or for a function already registered.
    static bool RegisterAnalyseFunction(AnalyseFunction function);
    // False when the function is not registered.
    static bool UnregisterAnalyseFunction(AnalyseFunction function);
    static std::size_t GetAnalyseFunctionCount();
    // Changes at every registration and unregistration.
    static std::uint64_t GetRegistryGeneration();

    void analyse(ekSpatial* root);

    std::vector<ekPointer<ekGeometry>>& editGeometryRenderBatch() { return m_batch; }
    const std::vector<ekPointer<ekGeometry>>& getGeometryRenderBatch() const { return m_batch; }

private:
    std::vector<ekPointer<ekGeometry>> m_batch;
};

} // namespace ek
