// CObject: the root of classes that carry run-time class information (their
// name, for diagnostics), and AfxIsValidString, the string check of the
// framework's core.
#ifndef VANTREL_FRAMEWORK_OBJECT_H
#define VANTREL_FRAMEWORK_OBJECT_H

#include <windows.h>

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    UINT m_wSchema;  // 0xFFFF: the class is never serialized
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCObject; }

    static inline const CRuntimeClass classCObject = {"CObject", 0xFFFF};

protected:
    CObject() = default;

    // Objects are owners (of blocks, of locales): copying one would double them.
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

// In a class body: the class has its own run-time class information.
#define DECLARE_DYNAMIC(class_name)               \
public:                                           \
    static const CRuntimeClass class##class_name; \
    const CRuntimeClass* GetRuntimeClass() const override;

// In one source file: the information behind DECLARE_DYNAMIC.
#define IMPLEMENT_DYNAMIC(class_name)                                          \
    const CRuntimeClass class_name::class##class_name = {#class_name, 0xFFFF}; \
    const CRuntimeClass* class_name::GetRuntimeClass() const {                 \
        return &class##class_name;                                             \
    }

// Whether psz can be read as a string of nLength characters (-1: up to its zero
// byte). Only a null pointer or a negative length other than -1 is refused:
// probing memory for readability is no safe test on this platform.
inline BOOL AfxIsValidString(LPCSTR psz, int nLength = -1) {
    return psz != nullptr && nLength >= -1;
}

#endif  // VANTREL_FRAMEWORK_OBJECT_H
