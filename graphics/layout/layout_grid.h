// A grid of rows and columns: tracks take their minimums and the sizes of single-cell
// children, and weights share out the space left over.
#pragma once

#include <map>
#include <vector>

#include "graphics/layout/layout.h"

// The tracks of one axis of a grid, with the final sizes and cumulative ends of the last
// preparing pass.
class t_gridTrackArray {
public:
    struct t_track {
        int size;      // working size of the last pass
        int minSize;   // the track's own minimum
        int reserved;  // kept for the caller, not read by the layout
        float weight;  // share of the spare space; 0 takes none
    };

    explicit t_gridTrackArray(int count = 0) { Reset(count); }

    // Grows to at least n tracks (never shrinks) and zeroes every track.
    void Reset(int n);
    int Count() const { return static_cast<int>(m_tracks.size()); }
    t_track& operator[](int index) { return m_tracks[index]; }
    const t_track& operator[](int index) const { return m_tracks[index]; }
    // Starts every track at its minimum.
    void StartPass();
    // Widens a track to at least size.
    void Widen(int index, int size);
    // Shares out the axis against target (which grows to the tracks' sum) and records the
    // final sizes and ends; returns the final target.
    int Share(int target);
    int FinalSize(int index) const { return m_final[index]; }
    int End(int index) const { return m_ends[index]; }
    // Sum of the tracks' own minimums.
    int MinimumSum() const;
    // Start and end offsets of the span first..last, clamped to the tracks.
    int SpanStart(int first) const;
    int SpanEnd(int last) const;

private:
    std::vector<t_track> m_tracks;
    std::vector<int> m_final;
    std::vector<int> m_ends;
};

// Cell span of a grid child, inclusive bounds.
struct t_gridSpan {
    int row0, row1, col0, col1;
};

class t_layoutGrid : public t_layout {
public:
    t_layoutGrid(int rows, int columns);

    SIZE GetSize() override;
    int Measure(t_paintCtx* context) override;
    void Prepare() override;
    RECT GetChildRect(t_layout* child) override;
    int GetKind() const override { return e_kindGrid; }

    // Grows both track arrays to at least rows and columns, every track zeroed.
    void SetSize(int rows, int columns);
    void SetRowInfo(int index, int size, int minSize, int reserved, float weight);
    void SetColumnInfo(int index, int size, int minSize, int reserved, float weight);
    void SetFirstAxisWeight(int row, float weight);
    void SetSecondAxisWeight(int column, float weight);
    // Places child over span, owned from here on; false (and the child deleted) when a bound
    // lies outside the grid or it cannot be added.
    bool SetCell(t_layoutPtr child, const t_gridSpan& span);
    bool AddChildAt(t_layoutPtr child, int row, int column)
    {
        return SetCell(std::move(child), {row, row, column, column});
    }
    // A child already held keeps its one entry and takes the new span; false for a node
    // that is not a child or a bound outside the grid.
    bool MoveCell(t_layout* child, const t_gridSpan& span);
    // The first child (in child order of the cell map) whose span is exactly that cell.
    t_layout* GetChildAt(int row, int column) const;
    const t_gridSpan* FindCell(t_layout* child) const;
    // Drops the child's span; the caller also calls RemoveChild.
    void EraseCell(t_layout* child);

    int RowCount() const { return m_rows.Count(); }
    int ColumnCount() const { return m_columns.Count(); }
    const t_gridTrackArray& Rows() const { return m_rows; }
    const t_gridTrackArray& Columns() const { return m_columns; }

private:
    bool SpanFits(const t_gridSpan& span) const;

    t_gridTrackArray m_rows;
    t_gridTrackArray m_columns;
    std::map<t_layout*, t_gridSpan> m_cells;
};
