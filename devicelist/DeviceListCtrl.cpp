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
    std::unique_ptr<ROWDATA> row = MakeRow(pTexts, nTexts);
    if (!row)
        return -1;
    return InsertRow(std::move(row), GetItemCount());
}

std::unique_ptr<CDeviceListCtrl::ROWDATA> CDeviceListCtrl::MakeRow(const std::string* pTexts,
                                                                   std::size_t nTexts) const {
    if (m_nColumns < 1)
        return nullptr;
    auto row = std::make_unique<ROWDATA>();
    row->texts.resize(static_cast<std::size_t>(m_nColumns));
    for (std::size_t i = 0; i < row->texts.size() && i < nTexts; ++i)
        row->texts[i] = pTexts[i];
    for (const std::string& text : row->texts)
        row->keys.push_back(devicelist::MakeCellKey(text.c_str(), &CDeviceListCtrl::TextSortKey));
    return row;
}

int CDeviceListCtrl::InsertRow(std::unique_ptr<ROWDATA> row, int nIndex) {
    const int nRow = InsertItem(nIndex, row->texts[0].c_str());
    if (nRow == -1)
        return -1;
    for (int i = 1; i < m_nColumns; ++i)
        SetItemText(nRow, i, row->texts[static_cast<std::size_t>(i)].c_str());
    SetItemData(nRow, reinterpret_cast<DWORD_PTR>(row.get()));
    for (std::size_t i = 0; i < row->keys.size(); ++i)
        m_rankings[i].Add(row->keys[i]);
    if (m_nRankedRows >= 0)
        m_rowOrder.insert(m_rowOrder.begin() + nRow, row.get());
    m_rowData.push_back(std::move(row));
    return nRow;
}

const CDeviceListCtrl::ROWDATA* CDeviceListCtrl::RowAt(int nRow) const {
    return reinterpret_cast<const ROWDATA*>(GetItemData(nRow));
}

void CDeviceListCtrl::DeleteAllRows() {
    // No row may point at released data, not even for a moment.
    for (int i = 0; i < GetItemCount(); ++i)
        SetItemData(i, 0);
    m_rowOrder.clear();
    m_rowData.clear();
    m_responses.clear();
    m_storedMacs.clear();
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
    // Rows in order and nothing new: a stable sort would move none of them.
    if (m_nRankedRows == GetItemCount())
        return;
    SortItems(&CDeviceListCtrl::CompareRows, reinterpret_cast<DWORD_PTR>(this));
    if (m_nRankedRows >= 0)
        NoteFullSort();
}

void CDeviceListCtrl::AddRowInOrder(const std::string* pTexts, std::size_t nTexts,
                                    std::size_t nResponse) {
    std::unique_ptr<ROWDATA> row = MakeRow(pTexts, nTexts);
    if (!row)
        return;
    row->nResponse = nResponse;
    const int nCount = GetItemCount();
    const int nPlace = PlaceInOrder(*row);
    if (nPlace < 0) {
        InsertRow(std::move(row), nCount);
    } else if (InsertRow(std::move(row), nPlace) != -1) {
        m_nRankedRows = nCount + 1;
    }
}

// Where every pair of cells compares as their ranks do, a row added to rows
// in order goes after the last row it ties with: that is where the list
// view's sort, which is stable (docs/devicelist.md), leaves a row appended
// at the end, and a binary search finds it. The full sort costs n log n
// comparisons per stored answer, this log n.
int CDeviceListCtrl::PlaceInOrder(const ROWDATA& row) const {
    const auto nColumn = static_cast<std::size_t>(m_nSortColumn);
    if (m_nRankedRows != GetItemCount() || !m_bRankable || nColumn >= m_rankings.size())
        return -1;
    devicelist::ColumnRanking withRow = m_rankings[nColumn];
    withRow.Add(row.keys[nColumn]);
    if (!withRow.Ranked())
        return -1;
    return devicelist::RankedPlace(
        m_nRankedRows,
        [&](int nRow) -> const devicelist::CellKey& {
            return m_rowOrder[static_cast<std::size_t>(nRow)]->keys[nColumn];
        },
        row.keys[nColumn], m_bSortAscending != FALSE);
}

void CDeviceListCtrl::NoteFullSort() {
    m_nRankedRows = -1;
    m_rowOrder.clear();
    const auto nColumn = static_cast<std::size_t>(m_nSortColumn);
    if (!m_bRankable || nColumn >= m_rankings.size() || !m_rankings[nColumn].Ranked())
        return;
    const bool bAscending = m_bSortAscending != FALSE;
    const int nCount = GetItemCount();
    for (int i = 0; i < nCount; ++i) {
        const ROWDATA* pRow = RowAt(i);
        const bool bInOrder =
            pRow != nullptr && (m_rowOrder.empty() ||
                                devicelist::CompareCellKeys(m_rowOrder.back()->keys[nColumn],
                                                            pRow->keys[nColumn], bAscending) <= 0);
        if (!bInOrder) {
            m_rowOrder.clear();
            return;
        }
        m_rowOrder.push_back(pRow);
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
