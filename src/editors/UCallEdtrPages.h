#pragma once

// The three pages of the call editor, built into the editor's page control:
// each makes its controls, binds them (`call` is the data source of the call
// table; the lookup fields bind to the editor's own queries) and sets the
// editor's members that name them. What the controls do is the editor's.

class QWidget;
class TDataSource;
class TfrmCallEdtr;

namespace UCallEdtrPages {

// "Item": the call's item and customer, with their "..." buttons.
QWidget* MakeItemPage(TfrmCallEdtr& editor, TDataSource* call);
// "Call Details": number, dates, texts and the assigned worker.
QWidget* MakeDetailsPage(TfrmCallEdtr& editor, TDataSource* call);
// "Status": status, completion, billing and the grid of comment lines with
// its Add, Edit and Delete links.
QWidget* MakeStatusPage(TfrmCallEdtr& editor, TDataSource* call);

} // namespace UCallEdtrPages
