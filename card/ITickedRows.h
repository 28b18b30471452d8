#pragma once
// The rows of the recording list as the copy and delete commands see them:
// rows 0..RowCount()−1, each with its check box, file name (row text) and path.
#include <QString>

class ITickedRows {
public:
    virtual ~ITickedRows() = default;
    virtual int RowCount() const = 0;
    virtual bool IsTicked(int row) const = 0;
    virtual QString RowFileName(int row) const = 0;
    virtual QString RowPath(int row) const = 0;
    // Removes the row; the rows after it move up by one.
    virtual bool DeleteRow(int row) = 0;
    // Sets the check box and repaints the row's rectangle.
    virtual void SetRowTicked(int row, bool ticked) = 0;
    // Repaints the whole list.
    virtual void RepaintList() = 0;
};
