// The main dialog's message map: one row per routed message, first match wins, and the
// crackers that turn a message's parameters into each handler's arguments.
#include <windowsx.h>

#include "app/CtarnwickDlgWin32.h"
#include "app/MessageMap.h"
#include "common/ProgramControl.h"
#include "resource.h"
#include "win32/Diagnostics.h"

namespace {

using Dlg = CtarnwickDlg;
using Handler = void (*)(Dlg&, MessageContext&);

// The adapter list draws its selected row in the highlight colour also without the focus
// (the list's own grey for that is hardly told from white): the user sees which adapter a
// double-click in the instance table gives.
LRESULT DrawAdapterRow(NMLVCUSTOMDRAW& draw, bool listFocused) {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT && !listFocused && (draw.nmcd.uItemState & CDIS_SELECTED)) {
        draw.nmcd.uItemState &= ~CDIS_SELECTED;
        draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
        draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    return CDRF_DODEFAULT;
}

POINT PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

template <void (Dlg::*F)(UINT, LPARAM)>
void SysCommand(Dlg& d, MessageContext& m) { (d.*F)(static_cast<UINT>(m.wParam), m.lParam); }

template <void (Dlg::*F)()>
void Plain(Dlg& d, MessageContext&) { (d.*F)(); }

template <HCURSOR (Dlg::*F)()>
void QueryDragIcon(Dlg& d, MessageContext& m) { m.result = reinterpret_cast<LRESULT>((d.*F)()); }

template <BOOL (Dlg::*F)(HDC)>
void EraseBackground(Dlg& d, MessageContext& m) { m.result = (d.*F)(reinterpret_cast<HDC>(m.wParam)); }

template <void (Dlg::*F)(UINT, POINT)>
void Mouse(Dlg& d, MessageContext& m) { (d.*F)(static_cast<UINT>(m.wParam), PointOf(m.lParam)); }

template <BOOL (Dlg::*F)(HWND, UINT, UINT)>
void SetCursor(Dlg& d, MessageContext& m) {
    m.result = (d.*F)(reinterpret_cast<HWND>(m.wParam), LOWORD(m.lParam), HIWORD(m.lParam));
}

template <LRESULT (Dlg::*F)(WPARAM, LPARAM)>
void ProgramControl(Dlg& d, MessageContext& m) { m.result = (d.*F)(m.wParam, m.lParam); }

template <void (Dlg::*F)(HWND, POINT)>
void ContextMenu(Dlg& d, MessageContext& m) { (d.*F)(reinterpret_cast<HWND>(m.wParam), PointOf(m.lParam)); }

template <void (Dlg::*F)(NMHDR*, LRESULT*)>
void Notify(Dlg& d, MessageContext& m) { (d.*F)(reinterpret_cast<NMHDR*>(m.lParam), &m.result); }

template <BOOL (Dlg::*F)(UINT, short, POINT)>
void MouseWheel(Dlg& d, MessageContext& m) {
    (d.*F)(GET_KEYSTATE_WPARAM(m.wParam), GET_WHEEL_DELTA_WPARAM(m.wParam), PointOf(m.lParam));
}

constexpr unsigned bnClicked = BN_CLICKED, stnClicked = STN_CLICKED, nmDblclk = static_cast<unsigned>(NM_DBLCLK),
                   cbnCloseup = CBN_CLOSEUP;
constexpr unsigned cbnDropdown = CBN_DROPDOWN;

const MessageMapEntry<Handler> messageMap[] = {
    {WM_SYSCOMMAND, 0, 0, 0, SysCommand<&Dlg::OnSysCommand>},
    {WM_PAINT, 0, 0, 0, Plain<&Dlg::OnPaint>},
    {WM_QUERYDRAGICON, 0, 0, 0, QueryDragIcon<&Dlg::OnQueryDragIcon>},
    {WM_ERASEBKGND, 0, 0, 0, EraseBackground<&Dlg::OnEraseBkgnd>},
    {WM_MOUSELEAVE, 0, 0, 0, Plain<&Dlg::OnMouseLeave>},
    {WM_MOUSEMOVE, 0, 0, 0, Mouse<&Dlg::OnMouseMove>},
    {WM_LBUTTONUP, 0, 0, 0, Mouse<&Dlg::OnLButtonUp>},
    {WM_SETCURSOR, 0, 0, 0, SetCursor<&Dlg::OnSetCursor>},
    {WM_LBUTTONDOWN, 0, 0, 0, Mouse<&Dlg::OnLButtonDown>},
    {WM_LBUTTONDBLCLK, 0, 0, 0, Mouse<&Dlg::OnLButtonDblClk>},
    {programControlMessage, 0, 0, 0, ProgramControl<&Dlg::OnProgramControl>},
    {WM_COMMAND, bnClicked, IDC_BUTTON_FIND_ETHERNET_NETWORK_ADAPTERS, IDC_BUTTON_FIND_ETHERNET_NETWORK_ADAPTERS,
     Plain<&Dlg::OnBnClickedButtonFindEthernetNetworkAdapters>},
    {WM_COMMAND, stnClicked, IDC_STATIC_QEL1, IDC_STATIC_QEL1, Plain<&Dlg::OnStnClickedStaticQel1>},
    {WM_COMMAND, stnClicked, IDC_STATIC_QEL2, IDC_STATIC_QEL2, Plain<&Dlg::OnStnClickedStaticQel2>},
    {WM_COMMAND, stnClicked, IDC_STATIC_QEL3, IDC_STATIC_QEL3, Plain<&Dlg::OnStnClickedStaticQel3>},
    {WM_COMMAND, stnClicked, IDC_STATIC_QEL4, IDC_STATIC_QEL4, Plain<&Dlg::OnStnClickedStaticQel4>},
    {WM_COMMAND, stnClicked, IDC_STATIC_QEL5, IDC_STATIC_QEL5, Plain<&Dlg::OnStnClickedStaticQel5>},
    {WM_COMMAND, stnClicked, IDC_STATIC_QEL6, IDC_STATIC_QEL6, Plain<&Dlg::OnStnClickedStaticQel6>},
    {WM_COMMAND, stnClicked, IDC_STATIC_QEL7, IDC_STATIC_QEL7, Plain<&Dlg::OnStnClickedStaticQel7>},
    {WM_COMMAND, stnClicked, IDC_STATIC_QEL8, IDC_STATIC_QEL8, Plain<&Dlg::OnStnClickedStaticQel8>},
    {WM_COMMAND, stnClicked, IDC_STATIC_QEL9, IDC_STATIC_QEL9, Plain<&Dlg::OnStnClickedStaticQel9>},
    {WM_COMMAND, stnClicked, IDC_STATIC_QEL10, IDC_STATIC_QEL10, Plain<&Dlg::OnStnClickedStaticQel10>},
    {WM_NOTIFY, nmDblclk, IDC_LIST_ETHERNET_NETWORK_ADAPTERS, IDC_LIST_ETHERNET_NETWORK_ADAPTERS,
     Notify<&Dlg::OnNMDblclkListEthernetNetworkAdapters>},
    {WM_NOTIFY, nmDblclk, IDC_LIST_QEL_CONFIGURATION_DATA, IDC_LIST_QEL_CONFIGURATION_DATA,
     Notify<&Dlg::OnNMDblclkListQelConfigurationData>},
    {WM_COMMAND, bnClicked, IDC_BUTTON_FIND_AND_CONFIGURE_QEL_DEVICES, IDC_BUTTON_FIND_AND_CONFIGURE_QEL_DEVICES,
     Plain<&Dlg::OnBnClickedButtonFindAndConfigureQelDevices>},
    {WM_COMMAND, bnClicked, IDC_BUTTON_CLOSE_SELECTED_ETHERNET_NETWORK_ADAPTER, IDC_BUTTON_CLOSE_SELECTED_ETHERNET_NETWORK_ADAPTER,
     Plain<&Dlg::OnClickedButtonCloseSelectedEthernetNetworkAdapter>},
    {WM_COMMAND, cbnCloseup, IDC_COMBO_CHOICE, IDC_COMBO_CHOICE, Plain<&Dlg::OnCloseupCombo2>},
    {WM_MOUSEWHEEL, 0, 0, 0, MouseWheel<&Dlg::OnMouseWheel>},
    {WM_COMMAND, cbnDropdown, IDC_COMBO_BROWSER, IDC_COMBO_BROWSER, Plain<&Dlg::OnDropdownBrowserCombo>},
    {WM_CONTEXTMENU, 0, 0, 0, ContextMenu<&Dlg::OnContextMenu>},
};

MessageKey KeyOf(const MessageContext& m) {
    if (m.message == WM_COMMAND) return {m.message, HIWORD(m.wParam), LOWORD(m.wParam)};
    if (m.message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(m.lParam);
        return {m.message, header->code, static_cast<unsigned>(header->idFrom)};
    }
    return {m.message, 0, 0};
}

}  // namespace

void CtarnwickDlg::OnMessage(MessageContext& context) {
    // --- leak-check figures asked for from outside (registered message) ---
    if (AnswerDiagnosticsQuery(context.message, context.wParam, context.result)) {
        context.handled = true;
        return;
    }
    // The instance list handles its own custom drawing (a reflected notification).
    if (context.message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(context.lParam);
        if (header->code == static_cast<UINT>(NM_CUSTOMDRAW) && header->hwndFrom == instanceList.GetSafeHwnd()) {
            context.handled = true;
            instanceList.OnNMCustomdraw(header, &context.result);
            return;
        }
        if (header->code == static_cast<UINT>(NM_CUSTOMDRAW) && header->hwndFrom == adapterList.GetSafeHwnd()) {
            context.handled = true;
            context.result = DrawAdapterRow(*reinterpret_cast<NMLVCUSTOMDRAW*>(header),
                                            GetFocus() == adapterList.GetSafeHwnd());
            return;
        }
    }
    if (const auto* entry = FindMessageMapEntry(messageMap, KeyOf(context))) {
        context.handled = true;
        entry->handler(*this, context);
    }
}
