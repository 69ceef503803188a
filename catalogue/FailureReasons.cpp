// SPDX-License-Identifier: MIT
#include "catalogue/FailureReasons.h"

std::u16string notAFileReason()
{
    return u"ファイルではないものがその名前で置かれています";
}

std::u16string busyReason(bool byAnotherCopy)
{
    return std::u16string(byAnotherCopy ? u"ほかのピコラ３" : u"ほかのプログラム") +
           u"が顔ファイルを使っています。少し待ってから、もう一度お試しください";
}
