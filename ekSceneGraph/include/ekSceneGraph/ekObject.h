#pragma once

#include "ekRtti.h"

#include <memory>
#include <string>

namespace ek {

// Base of every engine object: an intrusive reference count and a name.
// Objects are created with new; the last DecrementReferences deletes them.
// An object never counted (count 0) belongs to whoever created it.
class ekObject : public ekRttiInterface {
public:
    ekObject() = default;
    ekObject(const ekObject&) = delete;
    ekObject& operator=(const ekObject&) = delete;
    ~ekObject() override = default;

    static const ekRtti TYPE;
    const ekRtti& GetType() const override { return TYPE; }

    void IncrementReferences() { ++m_references; }
    // Deletes the object when the count drops to zero.
    void DecrementReferences()
    {
        if (--m_references == 0) {
            delete this;
        }
    }
    int GetReferences() const { return m_references; }

    // Empty unless set.
    const std::string& getName() const;
    void setName(const std::string& name);

private:
    // Most objects are never named: the name lives on the heap once set.
    std::unique_ptr<std::string> m_name;
    int m_references = 0;
};

// A counted reference: holds one count of its object while not null.
template <class T>
class ekPointer {
public:
    ekPointer() = default;
    ekPointer(T* object) : m_object(object) // NOLINT: implicit like a raw pointer
    {
        if (m_object != nullptr) {
            m_object->IncrementReferences();
        }
    }
    ekPointer(const ekPointer& other) : ekPointer(other.m_object) {}
    ~ekPointer()
    {
        if (m_object != nullptr) {
            m_object->DecrementReferences();
        }
    }

    // A different object is counted before the old one is released, so
    // assigning an object that only the old one keeps alive is safe.
    ekPointer& operator=(T* object)
    {
        if (object != m_object) {
            if (object != nullptr) {
                object->IncrementReferences();
            }
            T* old = m_object;
            m_object = object;
            if (old != nullptr) {
                old->DecrementReferences();
            }
        }
        return *this;
    }
    ekPointer& operator=(const ekPointer& other) { return *this = other.m_object; }

    T* get() const { return m_object; }
    T* operator->() const { return m_object; }
    T& operator*() const { return *m_object; }
    operator T*() const { return m_object; } // NOLINT: reads like a raw pointer

private:
    T* m_object = nullptr;
};

} // namespace ek
