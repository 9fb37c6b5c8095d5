#include "app/ReadOnlyPanel.h"

#include "data/engine/EngineCursor.h"

namespace {

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

struct TReasonText {
    const char* Contains;   // a phrase of the engine's reason
    const char* Chinese;
};

// The engine's reasons (both drivers' wordings), most specific first.
constexpr TReasonText ReasonTexts[] = {
    {"may not be written", "文件不允许写入（文件权限或磁盘禁止写入）"},
    {"opened read-only", "以只读方式打开"},
    {"index file cannot be written", "表的索引文件不能写入"},
    {"index file is damaged", "表的索引文件已损坏"},
    {"index cannot be kept up to date", "表的索引含有本程序无法维护的标记（表达式、排序规则或键类型）"},
    {"index is out of date", "表的索引与记录不一致，可用“tablecat --reindex”重建"},
    {"production index", "表带有生产索引，本程序不维护它"},
    {"index file", "表旁有索引文件，本程序不维护它"},
    {"secondary indexes", "表带有二级索引，本程序不维护它们"},
    {"lock files", "锁文件表明另一程序可能正在使用该表"},
    {"write-protected", "表设置了写保护"},
    {"needing repair", "表头标明该表需要修复"},
    {"memo file is missing", "备注文件缺失"},
    {"memo file is damaged", "备注文件已损坏"},
    {"(.MB) is missing", "二进制大对象文件（.MB）缺失"},
    {"(.MB) cannot be written", "二进制大对象文件（.MB）不能写入"},
    {"sort order", "表的排序规则本程序无法保持"},
    {"code page", "表的代码页不受支持"},
    {"unknown type", "表含有本程序不认识的字段类型"},
    {"does not know", "表含有本程序不认识的内容"},
    {"engine knows", "表的版本本程序不认识"},
    {"dBASE II", "dBASE II 表只能读取"},
    {"shorter than its header", "表文件比表头所记载的短（文件已损坏）"},
    {"after its last record", "最后一条记录之后还有数据"},
    {"damaged", "文件已损坏"},
    {"not terminated", "表头已损坏"},
    {"no fields", "表没有字段"},
    {"record length", "表头已损坏"},
    {"backlink", "表头已损坏"},
    {"null-flags", "表头已损坏"},
    {"referential", "表的参照完整性本程序无法执行"},
    {"check", "表的有效性检查本程序无法执行"},
    {"valid", "表的有效性检查本程序无法执行"},
};

} // namespace

QString ReadOnlyReasonText(const std::string& reason)
{
    for (const TReasonText& r : ReasonTexts)
        if (reason.find(r.Contains) != std::string::npos)
            return Text(r.Chinese);
    return Text("表只能读取");
}

TReadOnlyPanel::TReadOnlyPanel(QWidget* parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("ReadOnlyPanel"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    hide();
}

void TReadOnlyPanel::ShowReason(const std::string& reason)
{
    if (reason.empty()) {
        clear();
        setToolTip(QString());
        hide();
        return;
    }
    const QString why = ReadOnlyReasonText(reason);
    setText(Text("只读：") + why);
    setToolTip(Text("该表以只读方式打开，不能修改：") + why + Text("。\n") + QString::fromStdString(reason));
    show();
}
