#pragma once

// The pieces every record editor's window is built from, so that the editors
// look alike: a heading with the record kind's picture, forms of labelled
// fields, and data-aware controls named, bound and reporting their changes in
// one line each.

#include "editors/UDBTextControls.h"
#include "editors/UDBValueControls.h"

#include <QObject>
#include <functional>

class QFormLayout;
class QLabel;
class QVBoxLayout;
class QWidget;

namespace UEditorLayout {

// The width of the editors' fields, in pixels; multi-line fields are
// kMemoHeight high.
constexpr int kFieldWidth = 260;
constexpr int kMemoHeight = 64;

// A heading row: the picture `icon` (a resource under ":/korvane/icons/") and
// `text` beside it. `text` may use the labels' small markup.
QWidget* MakeHeading(const QString& icon, const QString& text, QWidget* parent);

// The client area's layout: the heading (as MakeHeading) on top, margins
// left to the window; the caller adds the editor's forms and pages below.
QVBoxLayout* StackUnderHeading(QWidget* client, const QString& icon, const QString& text);

// A form of labelled rows, labels right-aligned as on native dialogs.
QFormLayout* MakeForm();

// A key field that may be typed only while adding: read-only with the grey
// background of text that cannot be changed while `readOnly`, writable with
// the normal field background otherwise.
void SetKeyReadOnly(TDBEdit* edit, bool readOnly);

// Names `control`, binds it to `field` of `source` and returns it.
template <class TControl>
TControl* Bind(TControl* control, const char* name, TDataSource* source, const char* field) {
    control->setObjectName(QLatin1String(name));
    control->SetDataSource(source);
    control->SetDataField(QLatin1String(field));
    return control;
}

// Runs `handler` whenever one of `controls` reports a change.
template <class... TControls>
void OnChanged(QObject* context, const std::function<void()>& handler, TControls*... controls) {
    (QObject::connect(controls, &TControls::Changed, context, handler), ...);
}

} // namespace UEditorLayout
