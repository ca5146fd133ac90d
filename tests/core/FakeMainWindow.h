#pragma once
// Test doubles of the main window and the barcode dialog, and a scripted
// answerer of message boxes and dialogs. Header-only; include as
// "core/FakeMainWindow.h".
//
//   FakeMainWindow win;                 // becomes App_Services().Main_App_wnd until destroyed
//   win.canvasBounds = QRectF(0, 0, 300, 200);
//   ScriptedMessages msgs({1});         // answers the next box with button 1
//   ...
//   EXPECT_EQ(msgs.requests.size(), 1);
#include "core/canvas/CardDrawing.h"
#include "core/model/Card_Property.h"
#include "core/util/BarcodeServices.h"
#include "core/util/MainWindowServices.h"
#include "platform/MessageSink.h"
#include "common/FakeServices.h"

#include <QColor>
#include <QCoreApplication>
#include <QFont>
#include <QDialog>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QRectF>
#include <QStringList>
#include <QThread>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

class FakeMainWindow : public MainWindowServices {
public:
    FakeMainWindow() : m_slot(App_Services().Main_App_wnd, this) {}

    // What the fake answers; set freely in a test.
    QRectF canvasBounds;                     // graphicViewBounds()
    QList<LMNGraphic*> items;                // Get_Front_Controls_Array()
    int controlCount = -1;                   // Get_Front_Control_Count(); -1: items.size()
    QStringList barcodeModeSeries;           // Barcode_Mode_Series_Names()
    QWidget* widget = nullptr;               // mainWidget()
    QWidget* progressWindow = nullptr;       // Send_Models_Window()
    std::function<void()> throwOnQuery;      // thrown from the count and bounds queries
    int selectedTool = 0;
    double zoom = 1.0;
    QFont allTextFont{QStringLiteral("DejaVu Sans"), 12};
    QString textCtrlFont;                    // Text_Ctrl_Font(): "" gives Helvetica
    QColor allTextColor{Qt::black};
    QImage noImage, barcodeSample, signSample, fpSample;
    QImage filteredImage;                    // Get_Image_With_Update_Settings()
    bool commandsAvailable = true;           // isWindowCommandAvailable()
    Card_Property card;                      // Front_card_Prop(); drawn by the card functions
    LMNGraphicView* view = nullptr;          // graphicView()

    // What the fake saw.
    int refreshCount = 0;
    int undoSnapshots = 0;
    int undoCalls = 0;
    int redoCalls = 0;
    int pasteButtonUpdates = 0;
    int barcodeWindowOpened = 0;
    int imageControlResets = 0;
    QList<bool> alignButtons;                // sameWidth of each Set_Align_Buttons_Enabled
    QStringList commands;                    // contextual-menu commands carried out
    QList<LMNGraphic*> positionUpdates;
    QList<LMNGraphic*> shownProperties;

    LMNGraphicView* graphicView() const override { return view; }
    Card_Property* Front_card_Prop() const override { return const_cast<Card_Property*>(&card); }
    QWidget* mainWidget() const override { return widget; }
    QRectF graphicViewBounds() const override
    {
        if (throwOnQuery) throwOnQuery();
        return canvasBounds;
    }
    QWidget* Send_Models_Window() const override { return progressWindow; }
    QStringList Barcode_Mode_Series_Names() const override { return barcodeModeSeries; }
    int Selected_Control_Tool() const override { return selectedTool; }
    void Set_Selected_Control_Tool(int tool) override { selectedTool = tool; }
    double zoomFactor() const override { return zoom; }
    QFont All_Text_font() const override { return allTextFont; }
    QString Text_Ctrl_Font() const override { return textCtrlFont; }
    QColor All_Text_clr() const override { return allTextColor; }
    QImage no_image() const override { return noImage; }
    QImage barcode_sample_img() const override { return barcodeSample; }
    QImage sign_sample_img() const override { return signSample; }
    QImage fp_sample_img() const override { return fpSample; }
    void Card_Base_Drawing(QPainter& painter, const QRectF&) override
    {
        ::Card_Base_Drawing(painter, card, graphicViewBounds(), Card_Shape);
    }
    void Card_Border_Drawing(QPainter& painter, const QRectF&) override
    {
        ::Card_Border_Drawing(painter, card, graphicViewBounds(), Card_Shape);
    }
    void Refresh_Canvas() override { ++refreshCount; }
    QList<LMNGraphic*> Get_Front_Controls_Array() const override { return items; }
    int Get_Front_Control_Count() const override
    {
        if (throwOnQuery) throwOnQuery();
        return controlCount >= 0 ? controlCount : int(Get_Front_Controls_Array().size());
    }
    QImage Get_Image_With_Update_Settings(LMNGraphic*) override { return filteredImage; }
    void Reset_Image_Editing_Controls() override { ++imageControlResets; }
    void Set_Control_Pos_And_Size(LMNGraphic* item) override { positionUpdates.append(item); }
    void Insert_In_Undo_Redo() override { ++undoSnapshots; }
    void Undo_Action_Perform() override { ++undoCalls; }
    void Redo_Action_Perform() override { ++redoCalls; }
    void Show_RHS_Properties(LMNGraphic* item) override { shownProperties.append(item); }
    void Open_Barcode_Window() override { ++barcodeWindowOpened; }
    void Set_Paste_Button_Status() override { ++pasteButtonUpdates; }
    void Set_Align_Buttons_Enabled(bool sameWidth, bool, bool) override { alignButtons.append(sameWidth); }
    void Card_Prop_Clicked() override { commands << QStringLiteral("card_properties"); }
    void Card_Bckgrnd_Clicked() override { commands << QStringLiteral("select_card"); }
    void Lock_Clicked() override { commands << QStringLiteral("lock_ctrl"); }
    void Unlock_Clicked() override { commands << QStringLiteral("unlock_ctrl"); }
    void Export_Button() override { commands << QStringLiteral("export_id_card"); }
    void Print_Button() override { commands << QStringLiteral("print_id_card"); }
    void Barcode_Mail_Send() override { commands << QStringLiteral("mail_id_card"); }
    bool isWindowCommandAvailable(WindowCommand) const override { return commandsAvailable; }

private:
    Scoped_Service<MainWindowServices> m_slot;
};

// A barcode dialog that draws a plain striped picture for any non-empty value.
class FakeBarcodeDialog : public BarcodeDialogServices {
public:
    FakeBarcodeDialog() : m_slot(App_Services().Barcode_Gen_Var, this) {}

    QSizeF imageSize{120, 60};     // points
    QList<LMNGraphic*> loadedItems;
    QStringList values, headers, footers;
    // For each item loaded: whether the main window held its redraws back.
    QList<bool> whileFilling;

    void Set_Barcode_Prop_To_Control(LMNGraphic* item) override
    {
        loadedItems.append(item);
        whileFilling.append(App_Services().Main_App_wnd && App_Services().Main_App_wnd->Card_Value_In_Process);
    }
    PtImage Get_Image_From_Val(const QString& value, const QString& header, const QString& footer) override
    {
        values.append(value);
        headers.append(header);
        footers.append(footer);
        if (value.isEmpty()) return {};
        QImage img(int(imageSize.width()), int(imageSize.height()), QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::white);
        QPainter p(&img);
        for (int x = 4; x < img.width() - 4; x += 4) p.fillRect(x, 4, 2, img.height() - 8, Qt::black);
        p.end();
        return PtImage(img, imageSize);
    }

private:
    Scoped_Service<BarcodeDialogServices> m_slot;
};

// Answers message boxes from a script (button indexes, in order; -1 closes
// the box; when the script runs out, the default button) and records every
// request. Dialogs run through Run_Modal_Dialog are handed to `onDialog`
// (which presses a button) instead of exec().
class ScriptedMessages {
public:
    explicit ScriptedMessages(std::deque<int> answers = {}) : m_answers(std::move(answers))
    {
        m_prevResponder = Set_Message_Responder([this](const MessageRequest& r) {
            QMutexLocker lock(&m_lock);
            requests.push_back(r);
            onMainThread.push_back(QThread::currentThread() == QCoreApplication::instance()->thread());
            if (m_answers.empty()) return r.defaultButton;
            const int a = m_answers.front();
            m_answers.pop_front();
            return a;
        });
        m_prevRunner = Set_Modal_Runner([this](QDialog& d) {
            ++dialogsRun;
            if (onDialog) onDialog(d);
            return d.result();
        });
    }
    ~ScriptedMessages()
    {
        Set_Message_Responder(m_prevResponder);
        Set_Modal_Runner(m_prevRunner);
    }
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;

    void push(int answer)
    {
        QMutexLocker lock(&m_lock);
        m_answers.push_back(answer);
    }
    QStringList texts() const
    {
        QStringList out;
        for (const auto& r : requests) out << r.text;
        return out;
    }

    std::vector<MessageRequest> requests;
    std::vector<bool> onMainThread;
    std::function<void(QDialog&)> onDialog;
    int dialogsRun = 0;

private:
    QMutex m_lock;
    std::deque<int> m_answers;
    MessageResponder m_prevResponder;
    ModalRunner m_prevRunner;
};
