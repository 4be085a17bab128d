#include "graphics/layout/layout_grid.h"

#include <algorithm>
#include <climits>

void t_gridTrackArray::Reset(int n)
{
    if (n > Count())
        m_tracks.resize(n);
    for (t_track& track : m_tracks)
        track = t_track{0, 0, 0, 0.0f};
    m_final.assign(m_tracks.size(), 0);
    m_ends.assign(m_tracks.size(), 0);
}

void t_gridTrackArray::StartPass()
{
    for (t_track& track : m_tracks)
        track.size = track.minSize;
}

void t_gridTrackArray::Widen(int index, int size)
{
    if (index >= 0 && index < Count())
        m_tracks[index].size = std::max(m_tracks[index].size, size);
}

int t_gridTrackArray::Share(int target)
{
    const int count = Count();
    m_final.assign(count, 0);
    m_ends.assign(count, 0);
    if (count == 0)
        return target;
    long long sum = 0;
    double weights = 0;
    for (const t_track& track : m_tracks) {
        sum += track.size;
        weights += track.weight;
    }
    for (int i = 0; i < count; ++i)
        m_final[i] = m_tracks[i].size;
    if (target < sum) {
        target = ClampToInt(sum);
    } else if (target > sum && weights > 0.00001) {
        // A running sum rounded at each track, so the shares add up to the extra exactly.
        const double extra = static_cast<double>(target - sum);
        double running = 0;
        long long given = 0;
        for (int i = 0; i < count; ++i) {
            running += extra * m_tracks[i].weight / weights;
            const long long share = static_cast<long long>(running - static_cast<double>(given) + 0.5);
            given += share;
            m_final[i] = ClampToInt(m_final[i] + share);
        }
    }
    long long end = 0;
    for (int i = 0; i < count; ++i) {
        end += m_final[i];
        m_ends[i] = ClampToInt(end);
    }
    return target;
}

int t_gridTrackArray::MinimumSum() const
{
    long long sum = 0;
    for (const t_track& track : m_tracks)
        sum += track.minSize;
    return ClampToInt(sum);
}

int t_gridTrackArray::SpanStart(int first) const
{
    if (first <= 0 || m_ends.empty())
        return 0;
    return m_ends[std::min(first, Count()) - 1];
}

int t_gridTrackArray::SpanEnd(int last) const
{
    if (last < 0 || m_ends.empty())
        return 0;
    return m_ends[std::min(last, Count() - 1)];
}

t_layoutGrid::t_layoutGrid(int rows, int columns) : m_rows(std::max(rows, 0)), m_columns(std::max(columns, 0)) {}

SIZE t_layoutGrid::GetSize() { return SIZE{m_columns.MinimumSum(), m_rows.MinimumSum()}; }

int t_layoutGrid::Measure(t_paintCtx* context)
{
    rect.right = rect.left;
    rect.bottom = rect.top;
    for (auto& cell : m_cells)
        cell.first->Measure(context);
    Prepare();
    return 0;
}

void t_layoutGrid::Prepare()
{
    m_rows.StartPass();
    m_columns.StartPass();
    for (const auto& cell : m_cells) {
        const t_layout* child = cell.first;
        const t_gridSpan& span = cell.second;
        const int width = std::max(child->Width(), child->minWidth);
        const int height = std::max(child->Height(), child->minHeight);
        if (span.row0 == span.row1)
            m_rows.Widen(span.row0, height);
        if (span.col0 == span.col1)
            m_columns.Widen(span.col0, width);
    }
    const int height = m_rows.Share(std::max(Height(), minHeight));
    const int width = m_columns.Share(std::max(Width(), minWidth));
    rect.bottom = ClampToInt(0LL + rect.top + height);
    rect.right = ClampToInt(0LL + rect.left + width);
}

RECT t_layoutGrid::GetChildRect(t_layout* child)
{
    const t_gridSpan* span = FindCell(child);
    if (!span)
        return RECT{0, 0, 0, 0};
    return RECT{ClampToInt(0LL + rect.left + m_columns.SpanStart(span->col0)),
                ClampToInt(0LL + rect.top + m_rows.SpanStart(span->row0)),
                ClampToInt(0LL + rect.left + m_columns.SpanEnd(span->col1)),
                ClampToInt(0LL + rect.top + m_rows.SpanEnd(span->row1))};
}

void t_layoutGrid::SetSize(int rows, int columns)
{
    m_rows.Reset(rows);
    m_columns.Reset(columns);
}

static void SetTrack(t_gridTrackArray& tracks, int index, int size, int minSize, int reserved, float weight)
{
    if (index >= 0 && index < tracks.Count())
        tracks[index] = t_gridTrackArray::t_track{size, minSize, reserved, weight};
}

void t_layoutGrid::SetRowInfo(int index, int size, int minSize, int reserved, float weight)
{
    SetTrack(m_rows, index, size, minSize, reserved, weight);
}

void t_layoutGrid::SetColumnInfo(int index, int size, int minSize, int reserved, float weight)
{
    SetTrack(m_columns, index, size, minSize, reserved, weight);
}

void t_layoutGrid::SetFirstAxisWeight(int row, float weight)
{
    if (row >= 0 && row < m_rows.Count())
        m_rows[row].weight = weight;
}

void t_layoutGrid::SetSecondAxisWeight(int column, float weight)
{
    if (column >= 0 && column < m_columns.Count())
        m_columns[column].weight = weight;
}

bool t_layoutGrid::SpanFits(const t_gridSpan& span) const
{
    const auto inRange = [](int value, int count) { return value >= 0 && value < count; };
    return inRange(span.row0, RowCount()) && inRange(span.row1, RowCount()) && inRange(span.col0, ColumnCount()) &&
           inRange(span.col1, ColumnCount());
}

bool t_layoutGrid::SetCell(t_layoutPtr child, const t_gridSpan& span)
{
    t_layout* node = child.get();
    if (!SpanFits(span) || !AppendChild(std::move(child)))
        return false;
    m_cells[node] = span;
    return true;
}

bool t_layoutGrid::MoveCell(t_layout* child, const t_gridSpan& span)
{
    auto found = m_cells.find(child);
    if (found == m_cells.end() || !SpanFits(span))
        return false;
    found->second = span;
    return true;
}

t_layout* t_layoutGrid::GetChildAt(int row, int column) const
{
    for (const auto& cell : m_cells) {
        const t_gridSpan& s = cell.second;
        if (s.row0 == row && s.row1 == row && s.col0 == column && s.col1 == column)
            return cell.first;
    }
    return nullptr;
}

const t_gridSpan* t_layoutGrid::FindCell(t_layout* child) const
{
    auto found = m_cells.find(child);
    return found == m_cells.end() ? nullptr : &found->second;
}

void t_layoutGrid::EraseCell(t_layout* child) { m_cells.erase(child); }
