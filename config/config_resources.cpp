#include "config/config_resources.h"

#include "config/config_program.h"

#include <QtGlobal>

namespace {

const ResourceString kStrings[] = {
    {16101, "inch"}, {16102, "mm"}, {16103, "pixel"},

    {16201, "ノック式ペンシル"}, {16202, "加圧式油圧ボールペン"}, {16203, "水性ボールペン"},
    {16204, "セラミックペン"}, {16205, "プラスチックペン"}, {16206, "製図用ペン"},
    {16207, "スクライブ"}, {16208, "針 (CF-70)"}, {16209, "ペン型カッター"},
    {16210, "片刃カッター"}, {16211, "両刃カッター"}, {16212, "未使用"},

    {16401, "COM1"}, {16402, "COM2"}, {16403, "COM3"}, {16404, "COM4"}, {16405, "COM5"},
    {16406, "LPT1"}, {16407, "LPT2"}, {16408, "TCP/IP(PRICOM 3100)"},
    {16409, "TCP/IP(AXIS LPT1)"}, {16410, "TCP/IP(AXIS USB1)"},
    {16411, "TCP/IP(TRAVEX-Pro Server)"},

    {16421, "300 bps"}, {16422, "1200 bps"}, {16423, "2400 bps"}, {16424, "4800 bps"},
    {16425, "9600 bps"}, {16426, "19200 bps"}, {16427, "28800 bps"}, {16428, "38400 bps"},
    {16429, "57600 bps"},

    {16431, "7 ビット"}, {16432, "8 ビット"},
    {16441, "1.0 ビット"}, {16442, "1.5 ビット"}, {16443, "2.0 ビット"},
    {16451, "なし"}, {16452, "奇数"}, {16453, "偶数"},
    {16461, "なし"}, {16462, "XON/XOFF(ソフト)"}, {16463, "CTS/DTR(ハード)"},

    {16471, "ブラック"}, {16472, "レッド"}, {16473, "グリーン"}, {16474, "ブルー"},
    {16475, "イエロー"}, {16476, "シアン"}, {16477, "マゼンタ"}, {16478, "ホワイト"},
    {16479, "なし"},

    {16491, "無し"}, {16492, "MIMAKI(JK + 区点)"}, {16493, "GRAPHTEC(CA101 + JIS)"},
    {16501, "用紙中央"}, {16502, "用紙左下"},

    {16511, "1"}, {16512, "2"}, {16513, "3"}, {16514, "4"}, {16515, "5"}, {16516, "6"},
    {16517, "7"}, {16518, "8"}, {16519, "9"}, {16520, "10"},

    {16531, "1000%"}, {16532, "500%"}, {16533, "400%"}, {16534, "300%"}, {16535, "200%"},
    {16536, "150%"}, {16537, "100%"}, {16538, "75%"}, {16539, "50%"}, {16540, "33.33%"},
    {16541, "25%"}, {16542, "10%"},

    {16561, "6 pt"}, {16562, "10 pt"}, {16563, "12 pt"}, {16564, "14 pt"}, {16565, "18 pt"},
    {16566, "24 pt"}, {16567, "48 pt"}, {16568, "未使用"},
};

const ResourceBitmap kBitmaps[] = {
    {kPortraitPaperBitmap, ":/trvxserconfig/paper_portrait.png"},
    {kLandscapePaperBitmap, ":/trvxserconfig/paper_landscape.png"},
};

const ResourceTable kTable = {kStrings, static_cast<int>(sizeof kStrings / sizeof kStrings[0]),
    kBitmaps, static_cast<int>(sizeof kBitmaps / sizeof kBitmaps[0])};

} // namespace

// The images are compiled into the program's library; a static library keeps them only
// when they are registered by name.
static bool RegisterConfigImages()
{
    Q_INIT_RESOURCE(config);
    return true;
}

const ResourceTable* ConfigResources()
{
    static const bool registered = RegisterConfigImages();
    (void)registered;
    return &kTable;
}

std::string ConfigString(int id)
{
    std::string text;
    const ResourceTable* instance = ConfigInstance();
    FindResourceString(instance != nullptr ? instance : &kTable, id, &text);
    return text;
}

bool SetConfigBitmap(DialogWindow* page, int controlId, int bitmapId)
{
    const ResourceTable* table = ConfigResources();
    if (ConfigInstance() != nullptr)
        table = ConfigInstance();
    return SetDialogItemResourceBitmap(page, controlId, table, bitmapId);
}
