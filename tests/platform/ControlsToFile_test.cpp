#include "platform/ControlsToFile.h"

#include "core/MarnovelConfigManager.h"
#include "core/MarnovelUtils.h"
#include "support/GuiApplication.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QDialog>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

using namespace Qt::StringLiterals;

static void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

class ControlsToFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        path = folder.filePath(u"controls.txt"_s);
        window = std::make_unique<QWidget>();
        window->setObjectName(u"frmMainCombinedRd"_s);
        auto *close = new QPushButton(window.get());
        close->setObjectName(u"closepb"_s);
        auto *tabs = new QTabWidget(window.get());
        tabs->setObjectName(u"mainPc"_s);
        auto *sheet = new QWidget;
        sheet->setObjectName(u"rawDataSheet"_s);
        tabs->addTab(sheet, u"Raw Data"_s);
        auto *grid = new QTableWidget(9, 13, sheet);
        grid->setObjectName(u"rawDataGd"_s);
        auto *stripe = new QFrame(window.get()); // no name: passed through
        auto *paste = new QPushButton(stripe);
        paste->setObjectName(u"pastePb"_s);
        auto *header = new QLabel(window.get());
        header->setObjectName(u"lblMainHeaderText"_s);
        auto *date = new QDateEdit(window.get()); // its line edit is the toolkit's own
        date->setObjectName(u"runDateDt"_s);
        auto *area = new QScrollArea(window.get());
        area->setObjectName(u"resultsSa"_s);
        auto *content = new QWidget;
        content->setObjectName(u"resultsPanel"_s);
        auto *inner = new QPushButton(content);
        inner->setObjectName(u"printPb"_s);
        area->setWidget(content);
        auto *owned = new QDialog(window.get()); // a window of its own
        owned->setObjectName(u"AboutBox"_s);
        window->show();
    }

    QStringList Lines() const { return SplitLines(DecodeText(ReadWholeFile(path))); }

    QTemporaryDir folder;
    QString path;
    std::unique_ptr<QWidget> window;
};

TEST_F(ControlsToFileTest, HookOn_WritesWindowIdAndObjectPaths)
{
    const TMarnovelConfigManager config({u"WriteControlsToFile="_s + path});
    WriteControlsToFile(config, u"Main"_s, window.get(), nullptr, true, true);
    const QStringList expected{
        u"MainfrmMainCombinedRd="_s + QString::number(window->winId()),
        u"ApplicationHandle="_s + QString::number(QCoreApplication::applicationPid()),
        u"Mainclosepb=frmMainCombinedRd/closepb"_s,
        u"MainmainPc=frmMainCombinedRd/mainPc"_s,
        u"MainrawDataSheet=frmMainCombinedRd/mainPc/rawDataSheet"_s,
        u"MainrawDataGd=frmMainCombinedRd/mainPc/rawDataSheet/rawDataGd"_s,
        u"MainpastePb=frmMainCombinedRd/pastePb"_s,
        u"MainlblMainHeaderText=frmMainCombinedRd/lblMainHeaderText"_s,
        u"MainrunDateDt=frmMainCombinedRd/runDateDt"_s,
        u"MainresultsSa=frmMainCombinedRd/resultsSa"_s,
        u"MainresultsPanel=frmMainCombinedRd/resultsSa/resultsPanel"_s,
        u"MainprintPb=frmMainCombinedRd/resultsSa/resultsPanel/printPb"_s,
    };
    EXPECT_EQ(Lines(), expected);
}

TEST_F(ControlsToFileTest, ChildControls_StayWithoutNativeWindows)
{
    const TMarnovelConfigManager config({u"WriteControlsToFile="_s + path});
    WriteControlsToFile(config, u"Main"_s, window.get(), nullptr, true, true);
    for (QWidget *child : window->findChildren<QWidget *>()) {
        if (child->isWindow())
            continue;
        EXPECT_FALSE(child->testAttribute(Qt::WA_NativeWindow)) << child->objectName().toStdString();
        EXPECT_EQ(child->internalWinId(), 0u) << child->objectName().toStdString();
    }
}

TEST_F(ControlsToFileTest, ExistingFile_KeepsOtherEntriesAndReplacesNamesInAnyCase)
{
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("ManualFormatbtnCancel=12\r\nMAINCLOSEPB=old\r\n");
    }
    const TMarnovelConfigManager config({u"WriteControlsToFile="_s + path});
    WriteControlsToFile(config, u"Main"_s, window.get(), nullptr, true, false);
    const QStringList lines = Lines();
    EXPECT_EQ(lines.value(0), u"ManualFormatbtnCancel=12"_s);
    EXPECT_EQ(lines.value(1), u"Mainclosepb=frmMainCombinedRd/closepb"_s);
    EXPECT_EQ(lines.filter(u"closepb"_s, Qt::CaseInsensitive).size(), 1);
    EXPECT_TRUE(lines.filter(u"ApplicationHandle"_s).isEmpty());

    // Written a second time (the window writes at two points of its construction): no duplicates.
    WriteControlsToFile(config, u"Main"_s, window.get(), nullptr, true, false);
    EXPECT_EQ(Lines(), lines);
}

TEST_F(ControlsToFileTest, CallersList_CollectsEntriesOfSeveralWindows)
{
    const TMarnovelConfigManager config({u"WriteControlsToFile="_s + path});
    QWidget print;
    print.setObjectName(u"ScreenPrintForm"_s);
    auto *button = new QPushButton(&print);
    button->setObjectName(u"btnPrint"_s);
    QStringList list{u"Existing=1"_s};
    WriteControlsToFile(config, u"Print"_s, &print, &list, false, false);
    EXPECT_EQ(list.first(), u"Existing=1"_s);
    EXPECT_TRUE(list.contains(u"PrintbtnPrint=ScreenPrintForm/btnPrint"_s));
    EXPECT_EQ(Lines(), list);
}

TEST_F(ControlsToFileTest, WindowShownAgain_ItsEntryIsTheCurrentId)
{
    const TMarnovelConfigManager config({u"WriteControlsToFile="_s + path});
    QDialog toolbar(window.get());
    toolbar.setObjectName(u"frmManualFormatToolbar"_s);
    WriteControlsToFile(config, u"ManualFormat"_s, &toolbar, nullptr, true, true);
    WriteControlsToFile(config, u"Main"_s, window.get(), nullptr, true, true);
    const QString mainLine = u"MainfrmMainCombinedRd="_s + QString::number(window->winId());
    const auto entry = [this](const QString &name) { return Lines().filter(name + u'='); };

    // Closed and opened again, once with other window flags.
    for (int round = 0; round < 2; ++round) {
        toolbar.show();
        const WId before = toolbar.winId();
        toolbar.close();
        if (round == 1)
            toolbar.setWindowFlag(Qt::WindowStaysOnTopHint);
        toolbar.show();
        ASSERT_NE(toolbar.winId(), before) << round;
        EXPECT_EQ(entry(u"ManualFormatfrmManualFormatToolbar"_s),
                  QStringList{u"ManualFormatfrmManualFormatToolbar="_s + QString::number(toolbar.winId())})
            << round;
        EXPECT_EQ(entry(u"MainfrmMainCombinedRd"_s), QStringList{mainLine}) << round;
    }
}

TEST_F(ControlsToFileTest, HookOff_WritesNothing)
{
    for (const QStringList &arguments : {QStringList(), QStringList{u"writecontrolstofile"_s + path},
                                         QStringList{u"run.vdf"_s, u"WriteControlsToFile="_s + path}}) {
        const TMarnovelConfigManager config(arguments);
        WriteControlsToFile(config, u"Main"_s, window.get(), nullptr, true, true);
        EXPECT_FALSE(QFile::exists(path)) << arguments.join(u' ').toStdString();
    }
    // The program's own configuration: started without the hook.
    WriteControlsToFile(u"Main"_s, window.get(), nullptr, true, true);
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
