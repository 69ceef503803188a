// SPDX-License-Identifier: MIT
#include "forms/frmHelp.h"

#include "platform/Controls.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"

#include <QEvent>
#include <QPlainTextEdit>

#include <array>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {

// Full-width throughout, blank lines included: they hold ideographic spaces, not nothing.
constexpr std::array<std::u16string_view, 29> kHelpLines{
    u"この度は、ポルカン「ピコラ」をダウンロードしていただき、誠にありが", // 1
    u"とうございます。",                                                   // 2
    u"　",                                                                 // 3: 1 ideographic space
    u"ご使用方法：",                                                       // 4
    u"　　", // 5: 2 ideographic spaces
    u"先ず下のボタンの中から、お好きな「顔」の種類を選んでクリックしてください。", // 6
    // 7: 54 ideographic spaces
    u"　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　　",
    u"選び終われば、中央のボックスにその選んだ種類の顔の一覧が出ます。もし表示され",       // 8
    u"ない場合は選びなおしてください。",                                                   // 9
    u"上に表示された「顔」はクリップボードに保存されますので、チャットプログラムや、掲示", // 10
    u"板などのテキストを買い込む所にて、マウスの右をクリックして頂くとメニューが表示さ",   // 11
    u"れます。そこで、「貼り付け」を選んでください。もしくは、Ｃｔｒｌ＋Ｖで行ける場合もありま", // 12
    u"す。",               // 13
    u"　",                 // 14: 1 ideographic space
    u"「顔」の追加方法：", // 15
    u"　",                 // 16: 1 ideographic space
    u"このバージョンでは、「顔」を追加して、それをクリップボードに保存できるようになってい", // 17
    u"ます。",                                                                               // 18
    u"　", // 19: 1 ideographic space
    u"「顔」を追加する場合は、中央のボックス（顔を選ぶ所）に、そのままあなたが使いたい「", // 20
    u"顔」をご記入ください。",                                                             // 21
    u"　", // 22: 1 ideographic space
    u"そのあとは、先ほどと同じくマウスの右クリックで「貼り付け」を選んでください。", // 23
    u"　", // 24: 1 ideographic space
    u"ご記入された「顔」は、次に何かを選ぶか、書きこむまで有効です。次回のバージョンで", // 25
    u"は、顔を削除できるようにします。このバージョンでは削除は出来ません。",             // 26
    u"　", // 27: 1 ideographic space
    u"以上で説明は終わりですが、その他のご質問は、ホームページ内の、掲示板にてお願", // 28
    u"い致します。ホームページのＵＲＬは、バージョン情報の中にあります。",           // 29
};

} // namespace

FrmHelp::FrmHelp() : Form(u"frmHelp"_s, Frame::FixedDialog, StartPosition::CentreScreen)
{
    setWindowTitle(u"ピコラ３　ヘルプ（使い方）"_s);
    setClientSize(twipsSize(6840, 6120));
    // The box has no scroll bars and cannot be scrolled once it is disabled, so the whole text
    // must fit: at 8.25 points the Japanese face shows all 29 lines with their wraps.
    setFont(Fonts::designFont(8.25));

    // Created in the focus order: the button first, then the text.
    Command1 = addButton(client(), u"Command1"_s, u"戻る"_s, twipsRect(120, 5640, 6615, 375));
    Text1 = new QPlainTextEdit(helpText(), client());
    Text1->setObjectName(u"Text1"_s);
    Text1->setAccessibleName(u"ヘルプ（使い方）"_s);
    Text1->setGeometry(twipsRect(120, 120, 6615, 5415));
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->installEventFilter(this);

    connect(Command1, &QPushButton::clicked, this, &FrmHelp::Command1_Click);
    Command1->setFocus();
}

QString FrmHelp::helpText()
{
    QString text;
    for (std::u16string_view line : kHelpLines) {
        text += QStringView(line.data(), qsizetype(line.size()));
        text += u"\r\n";
    }
    return text;
}

bool FrmHelp::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text1 && event->type() == QEvent::FocusIn)
        Text1_GotFocus();
    return Form::eventFilter(watched, event);
}

void FrmHelp::Command1_Click()
{
    frmHelp.Hide();
}

// The text is there to be read, never edited or selected: once it takes the focus, the box
// stays disabled for the life of the window.
void FrmHelp::Text1_GotFocus()
{
    Text1->setEnabled(false);
}
