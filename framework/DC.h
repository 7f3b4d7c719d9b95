// Device contexts and drawing objects: CDC wraps a device context it may not
// own; CPaintDC paints a window between BeginPaint and EndPaint; CPen and
// CBrush own their GDI objects.
#ifndef VANTREL_FRAMEWORK_DC_H
#define VANTREL_FRAMEWORK_DC_H

#include "framework/Wnd.h"

#include <windows.h>

class CDC {
public:
    CDC() = default;
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }

    // Wraps a device context that stays its owner's; Detach hands it back.
    BOOL Attach(HDC hDC) {
        m_hDC = hDC;
        return hDC != nullptr;
    }
    HDC Detach() {
        HDC hDC = m_hDC;
        m_hDC = nullptr;
        return hDC;
    }

    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }
    // Selects a pen, brush or font; returns the one it replaces.
    HGDIOBJ SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }
    // Clips to a copy of hRegion; the caller keeps hRegion.
    int SelectClipRgn(HRGN hRegion) { return ::SelectClipRgn(m_hDC, hRegion); }
    void FillRect(const RECT& rect, HBRUSH hBrush) { ::FillRect(m_hDC, &rect, hBrush); }
    int DrawText(const char* pszText, int nCount, RECT& rect, UINT nFormat) {
        return ::DrawTextA(m_hDC, pszText, nCount, &rect, nFormat);
    }
    BOOL MoveTo(int x, int y) { return ::MoveToEx(m_hDC, x, y, nullptr); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd& wnd) : m_hWnd(wnd.m_hWnd) { m_hDC = ::BeginPaint(m_hWnd, &m_paint); }
    ~CPaintDC() override {
        ::EndPaint(m_hWnd, &m_paint);
        m_hDC = nullptr;
    }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_paint{};
};

class CPen {
public:
    CPen(int nStyle, int nWidth, COLORREF color) : m_hPen(::CreatePen(nStyle, nWidth, color)) {}
    ~CPen() {
        if (m_hPen)
            ::DeleteObject(m_hPen);
    }
    CPen(const CPen&) = delete;
    CPen& operator=(const CPen&) = delete;
    operator HPEN() const { return m_hPen; }

private:
    HPEN m_hPen;
};

class CBrush {
public:
    explicit CBrush(COLORREF color) : m_hBrush(::CreateSolidBrush(color)) {}
    ~CBrush() {
        if (m_hBrush)
            ::DeleteObject(m_hBrush);
    }
    CBrush(const CBrush&) = delete;
    CBrush& operator=(const CBrush&) = delete;
    operator HBRUSH() const { return m_hBrush; }

private:
    HBRUSH m_hBrush;
};

#endif  // VANTREL_FRAMEWORK_DC_H
