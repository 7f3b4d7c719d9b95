// Message-map entry makers for a window's creation and destruction.
#ifndef VANTREL_FRAMEWORK_LIFECYCLEMESSAGES_H
#define VANTREL_FRAMEWORK_LIFECYCLEMESSAGES_H

#include "framework/MessageMap.h"

namespace msg {

// WM_CREATE: int OnCreate(LPCREATESTRUCTA); -1 refuses the window.
template <auto Handler>
MessageMapEntry Create() {
    return {WM_CREATE, 0, 0, false, [](CWnd& w, WPARAM, LPARAM lp) -> LRESULT {
                return (detail::Self<Handler>(w).*Handler)(reinterpret_cast<LPCREATESTRUCTA>(lp));
            }};
}

// WM_DESTROY: void OnDestroy(); the child windows still exist.
template <auto Handler>
MessageMapEntry Destroy() {
    return {WM_DESTROY, 0, 0, false, [](CWnd& w, WPARAM, LPARAM) -> LRESULT {
                (detail::Self<Handler>(w).*Handler)();
                return 0;
            }};
}

}  // namespace msg

#endif  // VANTREL_FRAMEWORK_LIFECYCLEMESSAGES_H
