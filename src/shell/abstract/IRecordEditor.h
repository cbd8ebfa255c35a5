#pragma once

// A record editor as the lists and the main window's New commands run it: it
// works on the data module's table of its record kind, in one of two modes,
// and is shown modally.
class IRecordEditor {
public:
    virtual ~IRecordEditor() = default;
    // true: change the table's current row; false: add a new row.
    virtual void SetEditMode(bool editMode) = 0;
    // One use of the editor; true when it was closed with OK (the row saved).
    virtual bool Execute() = 0;
};
