#pragma once

// The sliding detail panel at the bottom of a list window: a row of tabs
// with a button at its right end that slides the panel's pages open or shut
// (clicking a tab of a shut panel opens it too), under the list's grid with
// a splitter between them. The open or shut state is kept in the settings
// store, under the "GUI" key and the panel's name, restored when the panel
// is made and saved when it goes.

#include <QWidget>

class QSplitter;
class QStackedWidget;
class QTabBar;
class QToolButton;
class TfrmDataList;

class TDetailPanel : public QWidget {
    Q_OBJECT
public:
    // Puts the panel named `name` under `list`'s grid. Open unless the
    // settings store says otherwise.
    TDetailPanel(TfrmDataList* list, const QString& name);
    ~TDetailPanel() override;

    // Adds a page with the tab `caption`; the panel takes `page` over.
    void AddTab(const QString& caption, QWidget* page);
    int CurrentTab() const;
    void SetCurrentTab(int index);

    bool IsOpen() const { return m_bOpen; }
    void SetOpen(bool open);

    // The settings store value the state is kept in.
    void RestoreState();
    void SaveState() const;

    QTabBar* tabDetails;
    QToolButton* btnToggle;
    QStackedWidget* pgsDetails;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowState();

    QSplitter* m_pSplitter;
    bool m_bOpen = true;
    bool m_bUserSized = false;
    int m_nOpenHeight = 0;
};
