// CDeviceListCtrl: the list of answering devices, one row per MAC address.
// It keeps a copy of every row's texts (the sort sees only item data), the
// stored scan responses, and the header that shows the sort indicator.
#ifndef VANTREL_DEVICELIST_DEVICELISTCTRL_H
#define VANTREL_DEVICELIST_DEVICELISTCTRL_H

#include "base/Address.h"
#include "devicelist/SortHeaderCtrl.h"
#include "devicelist/SortRules.h"
#include "framework/Controls.h"
#include "zova/zova.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

class CDeviceListCtrl : public CListCtrl {
public:
    // A row's own copy of its texts, in column order, with each cell's
    // comparison key, made once when the row is added (the sort compares
    // every row many times); its item data points here.
    struct ROWDATA {
        std::vector<std::string> texts;
        std::vector<devicelist::CellKey> keys;
        DWORD dwValue = 0;  // for the row's owner; 0 when added
        // The stored response the row shows (its index in the stored
        // responses), or kNoResponse for a row added by AddRow.
        std::size_t nResponse = kNoResponse;
    };
    static constexpr std::size_t kNoResponse = static_cast<std::size_t>(-1);

    CDeviceListCtrl();
    ~CDeviceListCtrl() override;

    // Inserts the columns of a format "Heading,width;Heading,width;…" after
    // those already there. FALSE when the list refused one (the earlier ones stay).
    BOOL InsertColumns(const CString& strFormat);
    // Appends a row with nTexts texts in column order (missing ones empty,
    // extra ones ignored). Its index, or -1 when the list refused it.
    int AddRow(const std::string* pTexts, std::size_t nTexts);
    // Removes every row and every stored response; the sort stays.
    void DeleteAllRows();
    // Sorts by nColumn in the given direction and moves the indicator there.
    void SortColumn(int nColumn, BOOL bAscending);
    // Sorts again by the current column and direction.
    void Resort();
    BOOL SetRowValue(int nRow, DWORD dwValue);
    DWORD GetRowValue(int nRow) const;

    // Stores a scan response and shows it as a row, unless a stored response
    // has the same MAC (the first answer of a device wins). A response
    // without a valid MAC is stored but gets no row.
    void AddResponse(const ZOVA_ModuleScanResponseType& response);
    // The MAC of the device the last configure request went to (all zero
    // before any, which matches no device); six bytes.
    void GetConfiguredMac(std::uint8_t* pabMac) const;
    void SetConfiguredMac(const std::uint8_t* pabMac);
    // The stored responses, in arrival order.
    const std::vector<ZOVA_ModuleScanResponseType>& GetResponses() const { return m_responses; }
    // The stored response of the device a row shows; null for a row that
    // shows none.
    const ZOVA_ModuleScanResponseType* FindRowResponse(int nRow) const;

    // The locale's sort key of a text (LCMapStringA): compared byte by byte,
    // two keys order their texts as lstrcmpA does.
    static std::string TextSortKey(const char* pszText);

    int GetSortColumn() const { return m_nSortColumn; }
    BOOL IsSortAscending() const { return m_bSortAscending; }

protected:
    const MessageMap* GetMessageMap() const override;
    void PreSubclassWindow() override;

private:
    static int CALLBACK CompareRows(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
    // A row's data with the cells' keys; null when there are no columns.
    std::unique_ptr<ROWDATA> MakeRow(const std::string* pTexts, std::size_t nTexts) const;
    // Inserts the row at nIndex and takes it over; its index, or -1 when the
    // list refused it.
    int InsertRow(std::unique_ptr<ROWDATA> row, int nIndex);
    // AddResponse's row: at once where the re-sort would put it, when that
    // place is known (see PlaceInOrder); otherwise appended, for Resort.
    void AddRowInOrder(const std::string* pTexts, std::size_t nTexts, std::size_t nResponse);
    // Where a stable sort puts row, added to rows in order by a sort column
    // that still ranks its cells with row's: after the last row it ties
    // with; -1 when only the full sort can tell.
    int PlaceInOrder(const ROWDATA& row) const;
    const ROWDATA* RowAt(int nRow) const;
    // After a full sort: whether the rows are in order by a ranked column.
    void NoteFullSort();
    void OnColumnClick(NMHDR* pHeader, LRESULT* pResult);
    // Switches drawing off until the answers already queued are in (see AddResponse).
    void HoldRedrawForQueuedAnswers();
    LRESULT OnRedrawAfterQueuedAnswers(WPARAM, LPARAM);
    // Opens the configure dialog of the row clicked.
    void OnLButtonDblClk(UINT nFlags, POINT point);

    std::vector<ZOVA_ModuleScanResponseType> m_responses;
    base::Mac m_abConfiguredMac{};
    int m_nColumns = 0;
    int m_nSortColumn = 0;
    CSortHeaderCtrl m_header;
    BOOL m_bSortAscending = TRUE;
    // Owner of every row's ROWDATA; the rows' item data point into it.
    std::vector<std::unique_ptr<ROWDATA>> m_rowData;
    // The stored responses' MACs, for the duplicate test.
    std::unordered_set<std::uint64_t> m_storedMacs;
    // Each column's cells, as far as their ranking goes (see PlaceInOrder).
    std::vector<devicelist::ColumnRanking> m_rankings;
    // The leading rows known to be in order by a ranked sort column; -1 when
    // unknown (cells not ranked, since the last emptying or header click).
    int m_nRankedRows = 0;
    // While m_nRankedRows is not -1: every row's data in the list's order,
    // for the placement's binary search (asking the list view for a row's
    // item data is a message).
    std::vector<const ROWDATA*> m_rowOrder;
    // False once columns were added under existing rows, which then have no
    // cells there; until the list is emptied.
    bool m_bRankable = true;
    bool m_bRedrawHeld = false;
};

#endif  // VANTREL_DEVICELIST_DEVICELISTCTRL_H
