#include "framework/Object.h"

const CRuntimeClass CObject::classCObject = {"CObject", 0xFFFF};

const CRuntimeClass* CObject::GetRuntimeClass() const {
    return &classCObject;
}

BOOL AfxIsValidString(LPCSTR psz, int nLength) {
    return psz != nullptr && nLength >= -1;
}
