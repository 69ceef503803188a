// SPDX-License-Identifier: MIT
#include "forms/RefusalMessages.h"

#include "platform/FaceFilePath.h"
#include "platform/MsgBox.h"
#include "platform/QtText.h"

#include <iterator>

using namespace Qt::StringLiterals;

namespace {

using Reason = FaceFileRefusal::Reason;

// The detail follows the prompt: the characters refused, or, after the face file's path, why
// the system refused.
struct RefusalMessage {
    Reason reason;
    const char16_t *title;
    const char16_t *prompt;
    bool namesTheFile;
};

// One row a reason, in the order of the reasons.
constexpr RefusalMessage kMessages[] = {
    {Reason::EmptyFace, u"無効です", u"何か入力してください", false},
    {Reason::LineBreak, u"無効です", u"改行を含む「顔」は登録できません", false},
    {Reason::Unrepresentable, u"無効です", u"保存できない文字が含まれています：", false},
    {Reason::NotListed, u"無効です", u"その番号の「顔」はありません", false},
    {Reason::Changed, u"削除できません", u"顔ファイルが変わっていたため、削除しませんでした",
     false},
    {Reason::Unreadable, u"読み込めません", u"「顔」を読み込めませんでした。", true},
    {Reason::NotAppended, u"保存できません", u"「顔」を保存できませんでした。", true},
    {Reason::NotRewritten, u"削除できません", u"「顔」を削除できませんでした。", true},
};

constexpr bool oneRowAReasonInOrder()
{
    for (std::size_t i = 0; i < std::size(kMessages); ++i)
        if (kMessages[i].reason != Reason(i))
            return false;
    return std::size(kMessages) == std::size_t(Reason::NotRewritten) + 1;
}
static_assert(oneRowAReasonInOrder());

} // namespace

void tellRefusal(const FaceFileRefusal &refusal)
{
    const RefusalMessage &message = kMessages[std::size_t(refusal.reason)];
    const QString where =
        message.namesTheFile ? u"\n"_s + fromPath(faceFilePath()) + u"\n"_s : QString();
    MsgBox(QString::fromUtf16(message.prompt) + where + toQString(refusal.detail),
           MsgBoxStyle::vbOKOnly + MsgBoxStyle::vbCritical, QString::fromUtf16(message.title));
}
