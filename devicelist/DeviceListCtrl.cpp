#include "devicelist/DeviceListCtrl.h"

#include "configure/ConfigureAction.h"
#include "devicelist/ColumnFormat.h"
#include "devicelist/SortRules.h"
#include "zova/ResponseRow.h"

namespace {
// Posted to the list itself: the answers queued before it are in.
constexpr UINT kRedrawAfterQueuedAnswers = WM_APP + 0x2D0;
}  // namespace

CDeviceListCtrl::CDeviceListCtrl() = default;

// The rows' data go with m_rowData, whether or not the window still exists.
CDeviceListCtrl::~CDeviceListCtrl() = default;

const MessageMap* CDeviceListCtrl::GetMessageMap() const {
    static const MessageMapEntry kEntries[] = {
        msg::LButtonDblClk<&CDeviceListCtrl::OnLButtonDblClk>(),
        msg::NotifyReflect<&CDeviceListCtrl::OnColumnClick>(LVN_COLUMNCLICK),
        msg::Raw<&CDeviceListCtrl::OnRedrawAfterQueuedAnswers>(kRedrawAfterQueuedAnswers),
    };
    static const MessageMap kMap(CListCtrl::GetMessageMap(), kEntries);
    return &kMap;
}

void CDeviceListCtrl::PreSubclassWindow() {
    CListCtrl::PreSubclassWindow();
    // From here on the header's draw requests reach m_header.
    m_header.SubclassWindow(GetHeaderCtrl());
}

void CDeviceListCtrl::OnLButtonDblClk(UINT, POINT point) {
    Default();
    // x = 2 finds the row wherever along it the user clicked.
    LVHITTESTINFO hit{};
    hit.pt.x = 2;
    hit.pt.y = point.y;
    const int nRow = static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (nRow < 0)
        return;
    const CString strMac = GetItemText(nRow, static_cast<int>(zova::kMacColumn));
    const ZOVA_ModuleScanResponseType* pStored = FindRowResponse(nRow);
    if (pStored == nullptr)
        return;
    // Notifications handled during the dialog may empty or extend the stored
    // responses: work on a copy.
    const ZOVA_ModuleScanResponseType response = *pStored;
    configure::ConfigureDevice(strMac, response, m_abConfiguredMac);
}

BOOL CDeviceListCtrl::InsertColumns(const CString& strFormat) {
    for (const devicelist::ColumnFormat& column :
         devicelist::ParseColumnFormat(static_cast<const char*>(strFormat))) {
        if (InsertColumn(m_nColumns, column.heading.c_str(), LVCFMT_LEFT, column.width) == -1)
            return FALSE;
        ++m_nColumns;
        m_rankings.resize(static_cast<std::size_t>(m_nColumns));
        m_bRankable = m_bRankable && m_rowData.empty();
    }
    return TRUE;
}

int CDeviceListCtrl::AddRow(const std::string* pTexts, std::size_t nTexts) {
    if (m_nColumns < 1)
        return -1;
    auto row = std::make_unique<ROWDATA>();
    row->texts.resize(static_cast<std::size_t>(m_nColumns));
    for (std::size_t i = 0; i < row->texts.size() && i < nTexts; ++i)
        row->texts[i] = pTexts[i];
    for (const std::string& text : row->texts)
        row->keys.push_back(devicelist::MakeCellKey(text.c_str(), &CDeviceListCtrl::TextSortKey));

    const int nRow = InsertRowAt(GetItemCount(), *row);
    if (nRow == -1)
        return -1;
    for (std::size_t i = 0; i < row->keys.size(); ++i)
        m_rankings[i].Add(row->keys[i]);
    m_rowData.push_back(std::move(row));
    return nRow;
}

int CDeviceListCtrl::InsertRowAt(int nIndex, const ROWDATA& row) {
    const int nRow = InsertItem(nIndex, row.texts[0].c_str());
    if (nRow == -1)
        return -1;
    for (int i = 1; i < m_nColumns; ++i)
        SetItemText(nRow, i, row.texts[static_cast<std::size_t>(i)].c_str());
    SetItemData(nRow, reinterpret_cast<DWORD_PTR>(&row));
    return nRow;
}

const CDeviceListCtrl::ROWDATA* CDeviceListCtrl::RowAt(int nRow) const {
    return reinterpret_cast<const ROWDATA*>(GetItemData(nRow));
}

void CDeviceListCtrl::DeleteAllRows() {
    // No row may point at released data, not even for a moment.
    for (int i = 0; i < GetItemCount(); ++i)
        SetItemData(i, 0);
    m_rowData.clear();
    m_responses.clear();
    DeleteAllItems();
    for (devicelist::ColumnRanking& ranking : m_rankings)
        ranking.Clear();
    m_nRankedRows = 0;
    m_bRankable = true;
}

void CDeviceListCtrl::SortColumn(int nColumn, BOOL bAscending) {
    m_nSortColumn = nColumn;
    m_bSortAscending = bAscending;
    m_header.SetSortIndicator(nColumn, bAscending);
    SortItems(&CDeviceListCtrl::CompareRows, reinterpret_cast<DWORD_PTR>(this));
    NoteFullSort();
}

void CDeviceListCtrl::Resort() {
    const int nCount = GetItemCount();
    // Rows in order and nothing new: a stable sort would move none of them.
    if (m_nRankedRows == nCount)
        return;
    const int nPlace = PlaceOfNewRow();
    // Moving the row is two changes to the list's rows; with drawing on,
    // each redraws the scroll bar under Wine, dearer than sorting a few
    // thousand rows. AddResponse holds the drawing while answers arrive.
    if (nPlace >= 0 && m_bRedrawHeld) {
        if (nPlace != nCount - 1) {
            const ROWDATA* pRow = RowAt(nCount - 1);
            DeleteItem(nCount - 1);
            InsertRowAt(nPlace, *pRow);
        }
        m_nRankedRows = nCount;
        return;
    }
    SortItems(&CDeviceListCtrl::CompareRows, reinterpret_cast<DWORD_PTR>(this));
    if (nPlace >= 0)
        m_nRankedRows = nCount;
    else if (m_nRankedRows >= 0)
        NoteFullSort();
}

// Where every pair of cells compares as their ranks do, a row added to rows
// in order goes after the last row it ties with: that is where the list
// view's sort, which is stable (docs/devicelist.md), leaves a row appended
// at the end, and a binary search finds it. The full sort costs n log n
// comparisons per stored answer, this log n.
int CDeviceListCtrl::PlaceOfNewRow() {
    const auto nColumn = static_cast<std::size_t>(m_nSortColumn);
    const int nLast = GetItemCount() - 1;
    // Several rows added since the last sort: the full sort decides, and
    // NoteFullSort looks again.
    if (m_nRankedRows != nLast)
        return -1;
    if (!m_bRankable || nColumn >= m_rankings.size() || !m_rankings[nColumn].Ranked()) {
        m_nRankedRows = -1;
        return -1;
    }
    return devicelist::RankedPlace(
        nLast, [&](int nRow) -> const devicelist::CellKey& { return RowAt(nRow)->keys[nColumn]; },
        RowAt(nLast)->keys[nColumn], m_bSortAscending != FALSE);
}

void CDeviceListCtrl::NoteFullSort() {
    m_nRankedRows = -1;
    const auto nColumn = static_cast<std::size_t>(m_nSortColumn);
    if (!m_bRankable || nColumn >= m_rankings.size() || !m_rankings[nColumn].Ranked())
        return;
    const bool bAscending = m_bSortAscending != FALSE;
    const int nCount = GetItemCount();
    for (int i = 1; i < nCount; ++i) {
        if (devicelist::CompareCellKeys(RowAt(i - 1)->keys[nColumn], RowAt(i)->keys[nColumn],
                                        bAscending) > 0)
            return;
    }
    m_nRankedRows = nCount;
}

int CALLBACK CDeviceListCtrl::CompareRows(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort) {
    const auto* pList = reinterpret_cast<const CDeviceListCtrl*>(lParamSort);
    const auto* pRow1 = reinterpret_cast<const ROWDATA*>(lParam1);
    const auto* pRow2 = reinterpret_cast<const ROWDATA*>(lParam2);
    const auto nColumn = static_cast<std::size_t>(pList->m_nSortColumn);
    if (pRow1 == nullptr || pRow2 == nullptr || nColumn >= pRow1->keys.size() ||
        nColumn >= pRow2->keys.size())
        return 0;
    return devicelist::CompareCellKeys(pRow1->keys[nColumn], pRow2->keys[nColumn],
                                       pList->m_bSortAscending != FALSE);
}

std::string CDeviceListCtrl::TextSortKey(const char* pszText) {
    // The locale and flags lstrcmpA compares with.
    const LCID locale = ::GetThreadLocale();
    const DWORD flags = LCMAP_SORTKEY | LOCALE_USE_CP_ACP;
    const int nSize = ::LCMapStringA(locale, flags, pszText, -1, nullptr, 0);
    std::string key(nSize > 0 ? static_cast<std::size_t>(nSize) : 0, '\0');
    if (nSize > 0)
        ::LCMapStringA(locale, flags, pszText, -1, &key[0], nSize);
    return key;
}

void CDeviceListCtrl::OnColumnClick(NMHDR* pHeader, LRESULT* pResult) {
    const int nClicked = reinterpret_cast<const NMLISTVIEW*>(pHeader)->iSubItem;
    const devicelist::SortState next =
        devicelist::NextSortState({m_nSortColumn, m_bSortAscending != FALSE}, nClicked);
    SortColumn(next.column, next.ascending ? TRUE : FALSE);
    *pResult = 0;
}

BOOL CDeviceListCtrl::SetRowValue(int nRow, DWORD dwValue) {
    if (nRow < 0 || nRow >= GetItemCount())
        return FALSE;
    auto* pRow = reinterpret_cast<ROWDATA*>(GetItemData(nRow));
    if (pRow == nullptr)
        return FALSE;
    pRow->dwValue = dwValue;
    return TRUE;
}

DWORD CDeviceListCtrl::GetRowValue(int nRow) const {
    if (nRow < 0 || nRow >= GetItemCount())
        return 0;
    const auto* pRow = reinterpret_cast<const ROWDATA*>(GetItemData(nRow));
    return pRow ? pRow->dwValue : 0;
}

void CDeviceListCtrl::HoldRedrawForQueuedAnswers() {
    if (m_bRedrawHeld)
        return;
    SendMessage(WM_SETREDRAW, FALSE);
    m_bRedrawHeld = true;
    // Queued behind the notifications already waiting, so drawing resumes
    // once they are handled: each burst of answers is drawn once.
    PostMessage(kRedrawAfterQueuedAnswers);
}

LRESULT CDeviceListCtrl::OnRedrawAfterQueuedAnswers(WPARAM, LPARAM) {
    m_bRedrawHeld = false;
    // The list view updates its scroll bars and repaints its rows here.
    SendMessage(WM_SETREDRAW, TRUE);
    return 0;
}
