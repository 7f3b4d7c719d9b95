// CVFXPointer: holds one heap block (from std::malloc) and frees it when it goes.
#ifndef VANTREL_VERSION_VERSIONPOINTER_H
#define VANTREL_VERSION_VERSIONPOINTER_H

#include "framework/Object.h"

class CVFXPointer : public CObject {
    DECLARE_DYNAMIC(CVFXPointer)

public:
    CVFXPointer(void* p, bool bOwns) : m_p(p), m_bOwns(bOwns) {}
    ~CVFXPointer() override { Release(); }

    void* Get() const { return m_p; }
    bool IsNull() const { return m_p == nullptr; }
    void Reset(void* p) {
        Release();
        m_p = p;
    }

private:
    void Release();

    void* m_p;
    BYTE m_bOwns;
};

#endif  // VANTREL_VERSION_VERSIONPOINTER_H
