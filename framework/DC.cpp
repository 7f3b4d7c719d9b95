#include "framework/DC.h"

#include "framework/Wnd.h"

CPaintDC::CPaintDC(CWnd& wnd) : m_hWnd(wnd.m_hWnd) {
    m_hDC = ::BeginPaint(m_hWnd, &m_paint);
}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_paint);
    m_hDC = nullptr;
}
