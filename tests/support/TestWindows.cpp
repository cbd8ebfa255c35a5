#include "support/TestWindows.h"

#include "data/DMGlobals.h"
#include "data/engine/TDataSetModel.h"
#include "editors/FBaseEditor.h"
#include "lists/FDataList.h"
#include "shell/UNavigationTree.h"
#include "shell/USettings.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QWindow>
#include <algorithm>

namespace TestWindows {

QString ShownCaption(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    if (!handle)
        return {};
    const QString title = handle->title();
    // Without a display name of its own the application's display name is
    // its plain name, and nothing is added.
    const QString name = QGuiApplication::applicationDisplayName();
    if (name == QCoreApplication::applicationName() || title.endsWith(name))
        return title.isEmpty() ? QCoreApplication::applicationName() : title;
    return title.isEmpty() ? name : title + QStringLiteral(" \u2014 ") + name;
}

int CaptionTextWidth(const QString& caption) {
    int width = 0;
    for (QFont font : {QApplication::font("QMdiSubWindowTitleBar"), QApplication::font()}) {
        font.setBold(true);
        width = std::max(width, QFontMetrics(font).horizontalAdvance(caption));
    }
    return width;
}

TfrmMain::TLocations Locations(const QString& dir) {
    return {.CountryFile = dir + "Countries.dat",
            .BackupDir = dir + "backups",
            .OfferDemoDatabase = false};
}

void UseTestSettings(const TestSupport::TTempDir& dir) {
    QStandardPaths::setTestModeEnabled(true);
    SetSettingsStoreLocation(dir.Path() + "user", dir.Path() + "machine");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

TRunningProgram::TRunningProgram(const QStringList& statements) {
    DataModule.SetDatabaseDir(Dir.Path() + "database/");
    OpenDatabaseAtStartup(DataModule);
    for (const QString& sql : statements)
        DataModule.ExecSQL(sql);
    DataModule.SetDatabaseActive(false);
    Main->show();
}

QTreeWidgetItem* TRunningProgram::Node(int top, int sub) const {
    return TestWindows::Node(*Main, top, sub);
}

int CloseEditor(QObject* window, bool ok) {
    auto* editor = qobject_cast<TfrmBaseEditor*>(window);
    (ok ? editor->btnOk : editor->btnCancel)->click();
    return editor->result();
}

bool RunEditor(TfrmBaseEditor& editor, bool edit, TScriptedDialogs& dialogs,
               const std::function<void()>& work, bool activate) {
    editor.SetEditMode(edit);
    dialogs.AnswerModal([&](QObject*) {
        editor.show();
        if (activate) {
            editor.activateWindow();
            if (!QTest::qWaitForWindowActive(&editor))
                qWarning("the editor did not become active");
        }
        work();
        return editor.result();
    });
    return editor.Execute();
}

bool ShowExposed(QWidget& window) {
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

QTreeWidgetItem* Node(const TfrmMain& frm, int top, int sub) {
    QTreeWidgetItem* node = frm.tvNavigation->topLevelItem(top);
    return sub < 0 ? node : node->child(sub);
}

QWidget* Front(const TfrmMain& frm) {
    QMdiSubWindow* child = frm.mdiMain->currentSubWindow();
    return child ? child->widget() : nullptr;
}

void DragSectionEdge(QHeaderView& header, int section, int by) {
    const QPoint edge(header.sectionViewportPosition(section) + header.sectionSize(section) - 1, 5);
    QTest::mousePress(header.viewport(), Qt::LeftButton, {}, edge);
    QTest::mouseMove(header.viewport(), edge + QPoint(by, 0));
    QTest::mouseRelease(header.viewport(), Qt::LeftButton, {}, edge + QPoint(by, 0));
}

QString CellText(TfrmDataList& list, int row, const QString& fieldName) {
    TDataSetModel* model = list.Model();
    return model->data(model->index(row, model->ColumnOf(fieldName))).toString();
}

} // namespace TestWindows
