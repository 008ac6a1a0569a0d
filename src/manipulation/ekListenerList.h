#pragma once

#include <algorithm>
#include <vector>

namespace ek {

// Lists of listeners that are not owned: install order, no duplicates.

// Appends listener unless it is already listed; false when it was.
template <class Listener>
bool appendUnique(std::vector<Listener*>& list, Listener* listener)
{
    if (std::find(list.begin(), list.end(), listener) != list.end()) {
        return false;
    }
    list.push_back(listener);
    return true;
}

// Removes the first entry equal to listener, keeping the order of the
// others; false when it is absent.
template <class Listener>
bool removeFirst(std::vector<Listener*>& list, Listener* listener)
{
    const auto it = std::find(list.begin(), list.end(), listener);
    if (it == list.end()) {
        return false;
    }
    list.erase(it);
    return true;
}

} // namespace ek
