#pragma once

namespace ek {

class ekGPUResource;

// A hardware renderer that uploads GPU resources. None is installed by
// default (headless); a host with a GPU installs its own.
class ekRendererInterface {
public:
    virtual ~ekRendererInterface() = default;

    // Uploads resource; immediate asks for it now rather than at the next
    // frame. True on success.
    virtual bool loadResource(ekGPUResource* resource, bool immediate) = 0;

    // The installed renderer, or null. Not owned.
    static ekRendererInterface* GetHardwareRenderer();
    static void SetHardwareRenderer(ekRendererInterface* renderer);
};

} // namespace ek
