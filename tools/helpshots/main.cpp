// korvane-helpshots RESOURCES: the pictures the help pages and the About
// Life window show, made by the program itself. The help's pictures
// (RESOURCES/help/shots/*.png) are the program's real windows, made by the
// composition root on a small demonstration database and grabbed offscreen;
// the About Life window's five pictures (RESOURCES/life/*.png) are drawn
// here. Run it again whenever a window changes.

#include "data/DMGlobals.h"
#include "data/UDemoData.h"
#include "lists/FDataList.h"
#include "shell/FGospel.h"
#include "shell/FHelp.h"
#include "shell/FMain.h"
#include "shell/UDialogs.h"
#include "shell/UErrors.h"
#include "shell/UStartup.h"
#include "shell/abstract/IDataView.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QPainterPath>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>
#include <functional>

namespace {

constexpr int MaxWidth = 900;

void Print(const QString& text) {
    std::fputs(qPrintable(text + QLatin1Char('\n')), stderr);
}

void Settle(int ms = 150) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Saves `widget` as it looks now, no wider than MaxWidth; windows use few
// colours, so a palette of 256 keeps the files small (`palette` false for a
// window with pictures).
void Save(QWidget* widget, const QString& fileName, bool palette = true) {
    Settle();
    QImage image = widget->grab().toImage();
    if (image.width() > MaxWidth)
        image = image.scaledToWidth(MaxWidth, Qt::SmoothTransformation);
    image = palette ? image.convertToFormat(QImage::Format_Indexed8,
                                            Qt::ThresholdDither | Qt::AvoidDither)
                    : image.convertToFormat(QImage::Format_RGB888);
    if (!image.save(fileName, "PNG", 0))
        Print(QStringLiteral("cannot write ") + fileName);
    else
        Print(QStringLiteral("wrote ") + fileName);
}

// The dialog seam of the tool: a modal window is shown without a loop of
// its own, handed to Next (which grabs it) and closed with Cancel; boxes are
// answered No or Cancel.
class TShotDialogs : public IDialogs {
public:
    std::function<void(QWidget*)> Next;

    TMsgButton MessageBox(TMsgKind, const QString& caption, const QString& text,
                          TMsgButtons buttons) override {
        Print(QStringLiteral("box \"%1\": %2").arg(caption, text));
        return buttons & mbCancel ? mbCancel : buttons & mbNo ? mbNo : mbOK;
    }
    bool InputQuery(const QString&, const QString&, QString&) override { return false; }
    QString OpenFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString FolderName(const QString&, const QString&) override { return {}; }
    int ExecModal(QObject* window, const std::function<int()>&) override {
        auto* widget = qobject_cast<QWidget*>(window);
        if (!widget || !Next)
            return QDialog::Rejected;
        widget->show();
        Settle(300);
        const auto next = std::exchange(Next, {});
        next(widget);
        if (auto* dialog = qobject_cast<QDialog*>(widget))
            dialog->reject();
        widget->hide();
        return QDialog::Rejected;
    }
};

void TakeShots(const QString& dir) {
    QTemporaryDir temp;
    const QString root = temp.path() + QLatin1Char('/');
    TShotDialogs dialogs;
    IDialogs* previous = SetDialogs(&dialogs);
    {
        TfrmMain::TLocations locations;
        // The backup and restore windows show this folder; nothing is written there.
        locations.BackupDir = QStringLiteral("/home/workshop/korvane/backups");
        TProgramWindows program(locations);
        TdmlGlobals& module = program.DataModule();
        module.SetDatabaseDir(root + QStringLiteral("database/"));
        QDir().mkpath(module.DatabaseDir());
        module.CreateMissingTables();
        module.SetDatabaseActive(true);
        UDemoData::Fill(module, *UDemoData::Preset(QStringLiteral("small")), 1);
        module.SetDatabaseActive(false);

        TfrmMain& main = program.MainWindow();
        main.resize(680, 480);
        main.show();
        Settle(500);
        QTreeWidget* tree = main.tvNavigation;
        const auto select = [&](QTreeWidgetItem* node) {
            tree->setCurrentItem(node);
            main.SelectView(node);
            Settle();
        };
        select(tree->topLevelItem(0));
        Save(&main, dir + QStringLiteral("main-window.png"));

        // The month picker, as "By Month" asks for it.
        dialogs.Next = [&](QWidget* w) { Save(w, dir + QStringLiteral("month-picker.png")); };
        select(tree->topLevelItem(0)->child(8));

        struct TList {
            int Node;
            int View;
            const char* ListShot;
            const char* EditorShot;
        };
        const TList lists[] = {
            {1, Interfaces::dvCustomers, "customers-list", "customer-editor"},
            {2, Interfaces::dvWorkers, "workers-list", "worker-editor"},
            {3, Interfaces::dvItems, "items-list", "item-editor"},
            {4, Interfaces::dvServiceContracts, "contracts-list", "contract-editor"},
        };
        for (const TList& list : lists) {
            select(tree->topLevelItem(list.Node));
            Save(&main, dir + QLatin1String(list.ListShot) + QStringLiteral(".png"));
            auto* window = qobject_cast<TfrmDataList*>(main.DataListWindow(list.View));
            dialogs.Next = [&](QWidget* w) {
                Save(w, dir + QLatin1String(list.EditorShot) + QStringLiteral(".png"));
            };
            if (window)
                window->EditCurrentRecord();
        }

        // The call editor's three pages.
        select(tree->topLevelItem(0));
        dialogs.Next = [&](QWidget* w) {
            auto* pages = w->findChild<QTabWidget*>(QStringLiteral("pgcMain"));
            const char* const names[] = {"call-item", "call-details", "call-status"};
            for (int i = 0; i < 3; ++i) {
                if (pages)
                    pages->setCurrentIndex(i);
                Save(w, dir + QLatin1String(names[i]) + QStringLiteral(".png"));
            }
        };
        if (auto* calls = qobject_cast<TfrmDataList*>(main.DataListWindow(Interfaces::dvCalls)))
            calls->EditCurrentRecord();

        dialogs.Next = [&](QWidget* w) { Save(w, dir + QStringLiteral("backup.png")); };
        main.actBackup->trigger();
        dialogs.Next = [&](QWidget* w) { Save(w, dir + QStringLiteral("restore.png")); };
        main.actRestore->trigger();

        // The help window and the About Life window.
        if (TfrmHelp* help = main.HelpWindow()) {
            help->resize(1000, 620);
            help->ShowContents();
            help->ShowPage(QStringLiteral("getting-started.html"));
            Save(help, dir + QStringLiteral("help-window.png"));
            help->hide();
        }
        dialogs.Next = [&](QWidget* w) { Save(w, dir + QStringLiteral("about-life.png"), false); };
        const TUrlOpener browser = SetExternalUrlOpener([](const QUrl&) { return true; });
        main.actAboutLife->trigger();
        SetExternalUrlOpener(browser);
        main.hide();
    }
    SetDialogs(previous);
}

// The About Life pictures: 400 by 300, flat colours on a soft background.
void Canvas(QPainter& painter, QImage& image, const QColor& top, const QColor& bottom) {
    image = QImage(400, 300, QImage::Format_RGB32);
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, top);
    sky.setColorAt(1, bottom);
    painter.fillRect(image.rect(), sky);
}

void DrawTools(QPainter& p) {
    // A spanner and a screwdriver, crossed.
    p.translate(200, 150);
    p.save();
    p.rotate(-40);
    p.setPen(QPen(QColor(0x4a, 0x55, 0x60), 3));
    p.setBrush(QColor(0xb8, 0xc2, 0xcc));
    p.drawRoundedRect(QRectF(-110, -14, 190, 28), 12, 12);
    QPainterPath head;
    head.addEllipse(QPointF(100, 0), 42, 42);
    QPainterPath jaw;
    jaw.addRect(QRectF(100, -16, 60, 32));
    p.drawPath(head.subtracted(jaw));
    p.restore();
    p.save();
    p.rotate(40);
    p.setPen(QPen(QColor(0x4a, 0x55, 0x60), 3));
    p.setBrush(QColor(0xcf, 0xd6, 0xdc));
    p.drawRect(QRectF(-20, -6, 150, 12));
    p.setBrush(QColor(0xd9, 0x4f, 0x2b));
    p.drawRoundedRect(QRectF(-130, -20, 115, 40), 14, 14);
    p.setPen(QPen(QColor(0xa8, 0x38, 0x1c), 3));
    for (int x = -110; x <= -40; x += 23)
        p.drawLine(x, -12, x, 12);
    p.restore();
}

void DrawBench(QPainter& p) {
    // A pegboard with tools hanging, a bench with a vice.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe8, 0xd8, 0xb0));
    p.drawRect(50, 30, 300, 140);
    p.setBrush(QColor(0xc8, 0xb4, 0x88));
    for (int y = 45; y < 170; y += 20)
        for (int x = 65; x < 350; x += 20)
            p.drawEllipse(QPointF(x, y), 2, 2);
    p.setPen(QPen(QColor(0x40, 0x48, 0x50), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(100, 60, 100, 140);
    p.drawLine(90, 60, 110, 60);
    p.drawLine(160, 60, 160, 150);
    p.drawEllipse(QPointF(160, 60), 10, 10);
    p.drawLine(220, 70, 260, 140);
    p.drawLine(260, 70, 220, 140);
    p.setBrush(QColor(0xd9, 0x4f, 0x2b));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(295, 60, 30, 50), 6, 6);
    p.setBrush(QColor(0x9c, 0x6b, 0x3a));
    p.drawRect(30, 175, 340, 24);
    p.setBrush(QColor(0x7a, 0x50, 0x28));
    p.drawRect(45, 199, 18, 90);
    p.drawRect(337, 199, 18, 90);
    p.drawRect(63, 250, 274, 10);
    p.setBrush(QColor(0x3c, 0x6e, 0xa8));
    p.drawRect(250, 150, 60, 25);
    p.drawRect(236, 140, 26, 20);
    p.setBrush(QColor(0x40, 0x48, 0x50));
    p.drawRect(312, 158, 30, 6);
}

void DrawVan(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x70, 0x78, 0x80));
    p.drawRect(0, 235, 400, 65);
    p.setBrush(QColor(0xf0, 0xf0, 0xf0));
    for (int x = 10; x < 400; x += 70)
        p.drawRect(x, 265, 40, 6);
    p.setBrush(QColor(0xf4, 0xf6, 0xf8));
    p.setPen(QPen(QColor(0x40, 0x48, 0x50), 3));
    QPainterPath body;
    body.moveTo(40, 225);
    body.lineTo(40, 95);
    body.quadTo(40, 80, 55, 80);
    body.lineTo(265, 80);
    body.quadTo(290, 80, 305, 110);
    body.lineTo(345, 170);
    body.quadTo(360, 180, 360, 200);
    body.lineTo(360, 225);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(0x9c, 0xc8, 0xec));
    p.drawPolygon(
        QPolygonF({QPointF(268, 98), QPointF(292, 98), QPointF(328, 165), QPointF(268, 165)}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3c, 0x6e, 0xa8));
    p.drawRect(42, 180, 316, 18);
    p.setBrush(QColor(0xd9, 0x4f, 0x2b));
    p.drawRect(42, 198, 316, 6);
    p.setPen(QPen(QColor(0x3c, 0x6e, 0xa8), 8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(80, 120, 120, 160);
    p.drawEllipse(QPointF(74, 114), 10, 10);
    for (int x : {110, 300}) {
        p.setPen(QPen(QColor(0x20, 0x20, 0x20), 2));
        p.setBrush(QColor(0x28, 0x2c, 0x30));
        p.drawEllipse(QPointF(x, 228), 30, 30);
        p.setBrush(QColor(0xb8, 0xc2, 0xcc));
        p.drawEllipse(QPointF(x, 228), 13, 13);
    }
}

void DrawClock(QPainter& p) {
    p.translate(200, 150);
    p.setPen(QPen(QColor(0x40, 0x48, 0x50), 8));
    p.setBrush(QColor(0xfd, 0xfd, 0xf8));
    p.drawEllipse(QPointF(0, 0), 115, 115);
    for (int i = 0; i < 60; ++i) {
        p.save();
        p.rotate(i * 6);
        if (i % 5 == 0) {
            p.setPen(QPen(QColor(0x40, 0x48, 0x50), 6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(0, -95, 0, -80);
        } else {
            p.setPen(QPen(QColor(0x90, 0x98, 0xa0), 2));
            p.drawLine(0, -95, 0, -90);
        }
        p.restore();
    }
    p.setPen(QPen(QColor(0x20, 0x28, 0x30), 10, Qt::SolidLine, Qt::RoundCap));
    p.save();
    p.rotate(-60); // eight o'clock
    p.drawLine(0, 0, 0, -55);
    p.restore();
    p.setPen(QPen(QColor(0x20, 0x28, 0x30), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(0, 0, 0, -82);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd9, 0x4f, 0x2b));
    p.drawEllipse(QPointF(0, 0), 9, 9);
}

void DrawHandshake(QPainter& p) {
    // Two sleeves meeting, the hands clasped in the middle.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3c, 0x6e, 0xa8));
    p.drawRoundedRect(QRectF(-20, 130, 150, 60), 10, 10);
    p.setBrush(QColor(0xd9, 0x4f, 0x2b));
    p.drawRoundedRect(QRectF(270, 120, 150, 60), 10, 10);
    p.setBrush(QColor(0xf0, 0xf0, 0xf0));
    p.drawRect(QRectF(120, 128, 16, 64));
    p.drawRect(QRectF(264, 118, 16, 64));
    const QColor skinA(0xe8, 0xb9, 0x8f);
    const QColor skinB(0xc9, 0x8e, 0x62);
    const QPen outline(QColor(0x8a, 0x5a, 0x38), 3);
    p.setPen(outline);
    p.setBrush(skinB);
    p.drawRoundedRect(QRectF(190, 118, 80, 62), 24, 24);
    p.setBrush(skinA);
    QPainterPath palm;
    palm.moveTo(134, 134);
    palm.quadTo(180, 120, 235, 140);
    palm.quadTo(262, 150, 258, 170);
    palm.lineTo(205, 175);
    palm.quadTo(160, 200, 134, 188);
    palm.closeSubpath();
    p.drawPath(palm);
    for (int i = 0; i < 4; ++i) {
        const qreal y = 146 + i * 10;
        p.drawRoundedRect(QRectF(196 + i * 4, y, 56 - i * 6, 12), 6, 6);
    }
    p.setBrush(skinA);
    QPainterPath thumb;
    thumb.moveTo(170, 130);
    thumb.quadTo(200, 108, 228, 118);
    thumb.quadTo(236, 124, 226, 130);
    thumb.quadTo(200, 130, 185, 140);
    thumb.closeSubpath();
    p.drawPath(thumb);
}

void DrawLifePictures(const QString& dir) {
    struct TPicture {
        void (*Draw)(QPainter&);
        QColor Top;
        QColor Bottom;
    };
    const TPicture pictures[] = {
        {DrawTools, QColor(0xe4, 0xec, 0xf6), QColor(0xc9, 0xd8, 0xea)},
        {DrawBench, QColor(0xf2, 0xf0, 0xea), QColor(0xdc, 0xd8, 0xcc)},
        {DrawVan, QColor(0xd6, 0xe8, 0xf8), QColor(0xf4, 0xf8, 0xfc)},
        {DrawClock, QColor(0xe8, 0xf0, 0xe4), QColor(0xcc, 0xdc, 0xc4)},
        {DrawHandshake, QColor(0xf8, 0xee, 0xe0), QColor(0xec, 0xdc, 0xc4)},
    };
    const QStringList files = TfrmGospel::PictureFiles();
    for (int i = 0; i < files.size(); ++i) {
        QImage image;
        QPainter painter;
        Canvas(painter, image, pictures[i].Top, pictures[i].Bottom);
        pictures[i].Draw(painter);
        painter.end();
        if (image.save(dir + files[i], "PNG", 0))
            Print(QStringLiteral("wrote ") + dir + files[i]);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2) {
        Print(QStringLiteral("usage: korvane-helpshots RESOURCES (the source tree's resources "
                             "folder)"));
        return 1;
    }
    const QString resources = QDir(args[1]).absolutePath() + QLatin1Char('/');
    QDir().mkpath(resources + QStringLiteral("help/shots"));
    QDir().mkpath(resources + QStringLiteral("life"));
    try {
        DrawLifePictures(resources + QStringLiteral("life/"));
        TakeShots(resources + QStringLiteral("help/shots/"));
    } catch (const EError& e) {
        Print(QStringLiteral("korvane-helpshots: ") + e.Message());
        return 1;
    }
    return 0;
}
