#pragma once

namespace ek {

// Run-time type record: a name and the base type's record (null for a root
// type). Records are compared by identity, so each type has exactly one.
class ekRtti {
public:
    ekRtti(const char* name, const ekRtti* baseType) : m_name(name), m_baseType(baseType) {}
    ekRtti(const ekRtti&) = delete;
    ekRtti& operator=(const ekRtti&) = delete;

    const char* GetName() const { return m_name; }
    const ekRtti* GetBaseType() const { return m_baseType; }

    bool IsExactly(const ekRtti& type) const { return &type == this; }
    // True for this type and for every type it derives from.
    bool IsDerived(const ekRtti& type) const
    {
        for (const ekRtti* search = this; search != nullptr; search = search->m_baseType) {
            if (search == &type) {
                return true;
            }
        }
        return false;
    }

private:
    const char* m_name;
    const ekRtti* m_baseType;
};

// Objects that report their run-time type.
class ekRttiInterface {
public:
    virtual ~ekRttiInterface() = default;
    virtual const ekRtti& GetType() const = 0;

    bool IsExactly(const ekRtti& type) const { return GetType().IsExactly(type); }
    bool IsDerived(const ekRtti& type) const { return GetType().IsDerived(type); }
};

} // namespace ek
