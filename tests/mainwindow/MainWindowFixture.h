#pragma once
// A main window made fresh for each test, with message boxes answered by a
// recorder and the application's end caught by a hook.
#include "barcode/generation/PaneDriver.h"
#include "common/FakeServices.h"
#include "core/util/MainWindowServices.h"
#include "core/util/SharedValues.h"
#include "mainwindow/AppLifetime.h"
#include "mainwindow/LMNWindowController.h"
#include "platform/MessageSink.h"

#include <QGuiApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Release_Modifier_Keys();
        messages.clear();
        exitCodes.clear();
        previousResponder = Set_Message_Responder([this](const MessageRequest& r) {
            messages << r.text;
            return 0;
        });
        services->Terminate_Application_Hook = [this](int code) { exitCodes << code; };
        // The page settings of a fresh start (A4, no printer chosen); a
        // print window opened by an earlier test may have chosen others.
        previousPrintInfo = MainWindowServices::printInfo();
        MainWindowServices::setPrintInfo(PrintInfo());
    }

    void TearDown() override
    {
        window.reset();
        Set_Message_Responder(previousResponder);
        MainWindowServices::setPrintInfo(previousPrintInfo);
        Release_Modifier_Keys();
    }

    // A key test whose shortcut ends in a window (Save As, Exit, Select
    // All...) can leave Ctrl or Shift held for the whole application, and a
    // list then takes a row chosen by a later test as a Ctrl-click. Each test
    // starts and ends with no modifier key held.
    static void Release_Modifier_Keys()
    {
        if (QGuiApplication::keyboardModifiers() == Qt::NoModifier)
            return;
        QWidget target;
        for (Qt::Key key : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_Meta})
            QTest::keyRelease(&target, key);
        EXPECT_EQ(QGuiApplication::keyboardModifiers(), Qt::NoModifier);
    }

    LMNWindowController& make()
    {
        window = std::make_unique<LMNWindowController>();
        return *window;
    }

    // The window's barcode tab (made with the window).
    BarcodeModeView& makeBarcode() { return *make().barcodeModeView(); }

    // A control of the barcode tab, found by its name as a user sees it.
    template <class T>
    T* ctl(const char* name) const
    {
        return drive::find<T>(window->barcodeModeView(), name);
    }

    // Chooses a type name in the popup as a click on the item would.
    void chooseType(const QString& name);

    bool sawMessage(const QString& text) const
    {
        for (const QString& m : messages)
            if (m.contains(text))
                return true;
        return false;
    }

    // The services struct is given back as the test found it (declared
    // first: the window leaves it before it is given back).
    Fake_Services services;
    std::unique_ptr<LMNWindowController> window;
    QStringList messages;
    QList<int> exitCodes;
    MessageResponder previousResponder;
    PrintInfo previousPrintInfo;
};
