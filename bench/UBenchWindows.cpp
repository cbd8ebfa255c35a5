#include "UBenchWindows.h"

#include "data/DMGlobals.h"
#include "lists/FCallsList.h"
#include "lists/FCustomerList.h"
#include "lists/FItemList.h"
#include "lists/FWorkerList.h"
#include "lists/UDetailGrid.h"
#include "lists/UMarkupBox.h"
#include "shell/UDialogs.h"
#include "shell/UErrors.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QTableView>
#include <algorithm>

namespace {

// The dialog seam of the list windows' figures: a modal window (a picker) is
// shown, painted and closed with Cancel; nothing else is asked.
class TShowingDialogs : public IDialogs {
public:
    TMsgButton MessageBox(TMsgKind, const QString&, const QString& text, TMsgButtons) override {
        Die(QStringLiteral("unexpected message: ") + text);
    }
    bool InputQuery(const QString&, const QString&, QString&) override { return false; }
    QString OpenFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString FolderName(const QString&, const QString&) override { return {}; }
    int ExecModal(QObject* window, const std::function<int()>&) override {
        auto* widget = qobject_cast<QWidget*>(window);
        widget->show();
        widget->repaint();
        QCoreApplication::processEvents();
        widget->hide();
        return QDialog::Rejected;
    }
};

struct TWindowTimes {
    std::vector<double> Panels[2];
    std::vector<double> Pickers[3];
    std::vector<double> Follows;
    std::vector<double> Ends;
    std::vector<double> CallGotos;
    qint64 ScrolledPeak = 0;
};

// (10) to (12) for each of `samples`.
void MeasurePanels(TdmlGlobals& dm, const std::vector<TCallKeys>& samples,
                   TfrmCustomerList& customers, TfrmItemList& items, TfrmWorkerList& workers,
                   TfrmCallsList& callsList, TWindowTimes& times) {
    for (const TCallKeys& call : samples) {
        // (10) A customer's items and calls; an item's owner, contract and
        // calls.
        if (!dm.sqlCustomer->Locate(QStringLiteral("CustomerID"), call.Customer) ||
            !dm.sqlItem->Locate(QStringLiteral("SerialNr"), call.Item))
            Die(QStringLiteral("customer %1 or item %2 is not in its list")
                    .arg(call.Customer, call.Item));
        times.Panels[0].push_back(TimeMs([&] {
            customers.IdleUpdate();
            ShowRows(*customers.grdItems->Model());
            ShowRows(*customers.grdCallHistory->Model());
        }));
        times.Panels[1].push_back(TimeMs([&] {
            items.IdleUpdate();
            items.boxOwner->lblData->text();
            items.boxServiceContract->lblData->text();
            ShowRows(*items.grdCalls->Model());
        }));
        if (customers.grdCallHistory->Model()->rowCount() == 0 ||
            items.grdCalls->Model()->rowCount() == 0 ||
            !items.boxServiceContract->lblEmpty->isHidden())
            Die(QStringLiteral("the details of customer %1 or item %2 are missing")
                    .arg(call.Customer, call.Item));

        // (11) A picker shown over its list.
        const struct {
            TfrmDataList* List;
            const char* Key;
        } pickerLists[] = {
            {&customers, "CustomerID"}, {&items, "SerialNr"}, {&workers, "WorkerNR"}};
        for (int p = 0; p < 3; ++p)
            times.Pickers[p].push_back(TimeMs(
                [&] { pickerLists[p].List->ExecutePopup(QLatin1String(pickerLists[p].Key)); }));

        // (12) The calls list moves on to the next call.
        if (!dm.sqlCall->Locate(QStringLiteral("CallNr"), call.CallNr))
            Die(QStringLiteral("call %1 is not in the calls list").arg(call.CallNr));
        callsList.IdleUpdate();
        times.Follows.push_back(TimeMs([&] {
            dm.sqlCall->Next();
            callsList.IdleUpdate();
            for (TMarkupBox* box : {callsList.boxCustomer, callsList.boxItem, callsList.boxService})
                box->lblData->text();
        }));
        if (!callsList.sqlService->Active() || callsList.sqlService->IsEmpty())
            Die(QStringLiteral("the calls list's details did not follow call %1").arg(call.CallNr));
    }
}

// (17), (19) and (18), in that order, in the calls list.
void MeasureCallsGrid(TdmlGlobals& dm, const std::vector<TCallKeys>& samples, qint64 calls,
                      int repeat, TfrmCallsList& callsList, TWindowTimes& times) {
    // (17) Ctrl+End in the calls list freshly opened: the last call current
    // and the grid's last screen read.
    QTableView* grid = callsList.dbcGrid;
    const auto reopenCalls = [&] {
        dm.sqlCall->Close();
        dm.OpenDataSet(dm.sqlCall);
    };
    for (int run = 0; run < repeat; ++run) {
        reopenCalls();
        times.Ends.push_back(TimeMs([&] {
            callsList.MoveToEnd(true); // what Ctrl+End runs
            const QAbstractItemModel& model = *grid->model();
            for (int row = std::max(0, model.rowCount() - ShownRows); row < model.rowCount(); ++row)
                for (int column = 0; column < model.columnCount(); ++column)
                    model.data(model.index(row, column));
        }));
        if (grid->currentIndex().row() != calls - 1 || dm.sqlCall->RecNo() != calls)
            Die(QStringLiteral("Ctrl+End did not reach the last call"));
    }

    // (19) GotoRecord to a call, as from a detail grid's row, each from the
    // lists freshly read.
    for (const TCallKeys& call : samples) {
        reopenCalls();
        bool found = false;
        times.CallGotos.push_back(
            TimeMs([&] { found = dm.GotoRecord(TdmlGlobals::rkCall, call.CallNr); }));
        if (!found || dm.sqlCall->FieldByName(QStringLiteral("CallNr")).AsString() != call.CallNr)
            Die(QStringLiteral("GotoRecord did not find call %1").arg(call.CallNr));
    }

    // (18) Scrolling through every call from the top, a screen at a time, as
    // the grid reads them.
    reopenCalls();
    QAbstractItemModel& model = *grid->model();
    for (int top = 0;; top += ShownRows) {
        while (top + ShownRows > model.rowCount() && model.canFetchMore({}))
            model.fetchMore({});
        if (top >= model.rowCount())
            break;
        for (int row = top; row < std::min(top + ShownRows, model.rowCount()); ++row)
            for (int column = 0; column < model.columnCount(); ++column)
                model.data(model.index(row, column));
    }
    if (model.rowCount() != calls)
        Die(QStringLiteral("scrolling showed %1 of %2 calls").arg(model.rowCount()).arg(calls));
    times.ScrolledPeak = PeakResidentMiB();
}

} // namespace

TWindowFigures MeasureListWindows(TdmlGlobals& dm, const std::vector<TCallKeys>& samples,
                                  qint64 calls, int repeat, const TGoals& goals) {
    // A panel opens, or follows, when the row has settled: the list's
    // IdleUpdate.
    TWindowTimes times;
    try {
        TShowingDialogs dialogs;
        IDialogs* previous = SetDialogs(&dialogs);
        {
            TfrmCustomerList customers(nullptr, &dm, nullptr);
            TfrmItemList items(nullptr, &dm, nullptr);
            TfrmWorkerList workers(nullptr, &dm, nullptr);
            TfrmCallsList callsList(nullptr, &dm, nullptr);
            MeasurePanels(dm, samples, customers, items, workers, callsList, times);
            MeasureCallsGrid(dm, samples, calls, repeat, callsList, times);
        }
        SetDialogs(previous);
    } catch (const EError& e) {
        Die(e.Message());
    }

    TWindowFigures figures;
    figures.Panels.push_back(Figure(
        QStringLiteral("10"), QStringLiteral("open a customer's detail panel (items, calls)"),
        Median(times.Panels[0]), {}, goals.DetailPanel, SlowestRemark(times.Panels[0])));
    figures.Panels.push_back(
        Figure(QString(), QStringLiteral("open an item's detail panel (owner, contract, calls)"),
               Median(times.Panels[1]), {}, goals.DetailPanel, SlowestRemark(times.Panels[1])));
    const char* const pickers[] = {"customer", "item", "worker"};
    for (int p = 0; p < 3; ++p)
        figures.Panels.push_back(Figure(
            p == 0 ? QStringLiteral("11") : QString(),
            QStringLiteral("the %1 picker opening on its list").arg(QLatin1String(pickers[p])),
            Median(times.Pickers[p]), {}, goals.Picker, SlowestRemark(times.Pickers[p])));
    figures.Panels.push_back(
        Figure(QStringLiteral("12"), QStringLiteral("calls list's details following a row change"),
               Median(times.Follows), {}, goals.FollowRow, SlowestRemark(times.Follows)));

    figures.Scrolling.push_back(
        Figure(QStringLiteral("17"), QStringLiteral("calls list: Ctrl+End to the last call"),
               Median(times.Ends), {}, goals.LastRow, SlowestRemark(times.Ends)));
    figures.Scrolling.push_back(Figure(
        QStringLiteral("18"), QStringLiteral("peak resident memory after scrolling all calls"),
        double(times.ScrolledPeak), {}, goals.MemoryMiB, QStringLiteral("(VmHWM)"),
        QStringLiteral("MiB")));
    figures.Scrolling.push_back(Figure(QStringLiteral("19"), QStringLiteral("GotoRecord to a call"),
                                       Median(times.CallGotos), {}, goals.Goto,
                                       SlowestRemark(times.CallGotos)));
    return figures;
}
