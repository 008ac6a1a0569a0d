#include "ekSceneGraph/ek2DPrimitivesPass.h"

#include <algorithm>

namespace ek {

namespace {

std::vector<ek2DPrimitivesPass::AnalyseFunction>& registry()
{
    static std::vector<ek2DPrimitivesPass::AnalyseFunction> functions;
    return functions;
}

std::uint64_t& registryGeneration()
{
    static std::uint64_t generation = 0;
    return generation;
}

} // namespace

bool ek2DPrimitivesPass::RegisterAnalyseFunction(AnalyseFunction function)
{
    auto& functions = registry();
    if (function == nullptr || std::find(functions.begin(), functions.end(), function) != functions.end()) {
        return false;
    }
    functions.push_back(function);
    ++registryGeneration();
    return true;
}

bool ek2DPrimitivesPass::UnregisterAnalyseFunction(AnalyseFunction function)
{
    auto& functions = registry();
    const auto found = std::find(functions.begin(), functions.end(), function);
    if (found == functions.end()) {
        return false;
    }
    functions.erase(found);
    ++registryGeneration();
    return true;
}

std::size_t ek2DPrimitivesPass::GetAnalyseFunctionCount()
{
    return registry().size();
}

std::uint64_t ek2DPrimitivesPass::GetRegistryGeneration()
{
    return registryGeneration();
}

void ek2DPrimitivesPass::analyse(ekSpatial* root)
{
    // By index: a function may register or unregister others while it runs.
    const auto& functions = registry();
    for (std::size_t i = 0; i < functions.size(); ++i) {
        functions[i](this, root);
    }
}

} // namespace ek
