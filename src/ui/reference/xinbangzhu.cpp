// The program's manual `Helpf` (使用说明, F1): how a chart is made, what the
// program does by itself, what every part of the sheet and every command
// means, section by section, with a table of contents at the top and the
// disclaimer at the end. The text is the program's own, fixed HTML; the marks
// it names are written in the colours the sheet gives them, light or dark as
// the desktop is.

#include "ui/reference/referencewindows.h"
#include "ui/reference/windowparts.h"
#include "widgets/chartcolours.h"

#include <QScrollBar>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <array>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

struct Section {
    const char16_t *anchor;
    const char16_t *title;
    const char16_t *body; // HTML; $alert, $relative, $day, $original, $changed, $spirit, $world, $type, $quiet
};

// clang-format off
constexpr std::array<Section, 16> Sections{{
    {u"usage", u"使用方法",
     u"<ol>"
     u"<li>起卦：在“卜问何事”里写下所问之事，选好性别；自初爻至上爻，在 1 爻至 6 爻的框中填入所得之爻，阳爻填“1”，阴爻填“0”。"
     u"有动爻的（太阳或太阴），在该爻后面的方框中打勾。也可以用工具菜单里的四种起卦方式，由程序填好六爻。</li>"
     u"<li>日干与月建日建：点“按时间排盘”，按起卦时间定日干（得出六神）、月建和日建；勾选旁边的“自动”，"
     u"起卦时间一变就自动重排。也可以在表格的“选择日干”一栏和“月建日建选择”菜单里亲手选定。</li>"
     u"<li>用神：在“占类”中选所问之事，程序按占类取用神；也可以在“用神或伏神选择”菜单里亲手选定，用神不上卦时可选伏神。</li>"
     u"<li>重新起卦：“菜单”里的“新建”（Ctrl+N）或工具菜单的“清除数据”。表格上的卦还没有保存到案例库、也没有导出时，"
     u"程序会先问一声。</li>"
     u"</ol>"},
    {u"auto", u"程序自动完成的部分",
     u"<ul>"
     u"<li>六爻填齐，即显示本卦；有动爻时随之显示变卦，动爻一改，变卦随之变更。</li>"
     u"<li>自动标出世、应，按本卦的宫五行标出本卦和变卦各爻的六亲。</li>"
     u"<li>有了日干，得出六神；有了月建、日建，得出旬空、各爻的旺衰和标记、用神与原神忌神仇神、应期候选。</li>"
     u"<li>月建、日建跟随起卦时间（“按时间排盘”或“自动”），不必手动指定；手动指定的，以手选为准。</li>"
     u"</ul>"},

    {u"moment", u"起卦时间与排盘",
     u"<p>表格上方的<b>起卦时间</b>记下本卦的时刻，精确到分钟，可选 1900-01-31 至 2100-12-31。"
     u"节气和四柱按<b>北京时间</b>（东八区）推算；在别的时区起卦，在下方的“时区”里选所记的时钟，程序自会换算成北京时间"
     u"（1986—1991年中国夏令时期间记下的时刻已是标准时的，勾选“按标准时”）。要按<b>真太阳时</b>定时辰，在“真太阳时”里选起卦地点。"
     u"书上写的“卯月戊寅日”可填进“干支”一栏，回车列出相应日期；“贲之艮”这样的卦名可填进“卦名”一栏，回车排出其卦。"
     u"启动、新建、清除数据时，以及自动卜卦、手动摇卦之后，它都填为当时的时刻，右边随即列出年、月、日、时四柱。</p>"
     u"<ul>"
     u"<li><b>按时间排盘</b>：按起卦时间的日柱选好日干（得出六神），按月柱、日柱定<span style=\"color:$relative\">月建</span>和"
     u"<span style=\"color:$day\">日建</span>，随之得出旬空和各爻的标记。</li>"
     u"<li><b>自动</b>：勾选后，起卦时间每改一次（包括起卦时自动填入）都会自动按时间排盘。这一选择会被记住。</li>"
     u"<li><b>手动选定</b>：在表格的“选择日干”一栏或“月建日建选择”菜单里亲手选定的日干、月建、日建，从此不再跟着起卦时间变；"
     u"想重新按时间取用，点一下“按时间排盘”。</li>"
     u"<li><b>子初换日</b>（月建日建选择菜单）：勾选后 23:00 起算作次日；不勾选则到午夜才换日。</li>"
     u"</ul>"},
    {u"casting", u"起卦方式（工具菜单）",
     u"<p>四种起卦方式都会先清除表格，再把六爻填好。自动卜卦和手动摇卦把起卦时间记为起卦当时；时间起卦和数字起卦沿用表格上的起卦时间。</p>"
     u"<ul>"
     u"<li><b>自动卜卦</b>：填好卜问何事后（表格上还没有选性别的，也选好性别），由程序代为摇卦，逐爻生成。</li>"
     u"<li><b>手动摇卦</b>：手持三枚铜钱，每爻掷一次，自初爻起逐爻记下。可以点击硬币翻面——有字的一面为“字”，"
     u"光面为“背”；也可以在“背面个数”里依次输入每爻背面朝上的枚数（0 到 3），如 123012。"
     u"背计三、字计二：一背为少阳，二背为少阴，三背为老阳（动），三字为老阴（动）。"
     u"习惯反过来记的，勾选“字面计三、背面计二”。</li>"
     u"<li><b>时间起卦</b>：梅花易数，取起卦时间的年支数、农历月、农历日之和除以 8 得上卦，再加时支数除以 8 得下卦，"
     u"总数除以 6 得动爻（先天数：乾一兑二离三震四巽五坎六艮七坤八，余 0 作 8，动爻余 0 作 6）。"
     u"可选以立春或以正月初一换年。</li>"
     u"<li><b>数字起卦</b>：报两个 1 到 99999999 的整数，第一个数除以 8 得上卦，第二个数得下卦，两数之和除以 6 得动爻；"
     u"可选再加上起卦时间的时辰数。</li>"
     u"</ul>"},
    {u"marks", u"爻的标记",
     u"<p>有了月建、日建，爻旁会标出它与月、日的关系，动爻还会标出它变出的结果：</p>"
     u"<ul>"
     u"<li><span style=\"color:$alert\">月破</span>：月建冲爻。静爻、动爻都标；动爻逢月破，有生扶或出月之时仍可得救。</li>"
     u"<li><span style=\"color:$alert\">暗动</span>：静爻在月令旺相，被日建冲，冲而愈动。</li>"
     u"<li><span style=\"color:$alert\">日破</span>：静爻在月令休囚，被日建冲，冲而散。</li>"
     u"<li><span style=\"color:$alert\">冲实</span>：旬空的静爻被日建冲，空逢冲则实，不作空论。</li>"
     u"<li>动爻的变化：<span style=\"color:$alert\">化进神</span>、<span style=\"color:$alert\">化退神</span>、"
     u"<span style=\"color:$alert\">回头生</span>、<span style=\"color:$alert\">回头克</span>、"
     u"<span style=\"color:$alert\">化墓</span>、<span style=\"color:$alert\">化绝</span>、"
     u"<span style=\"color:$alert\">化空</span>、<span style=\"color:$alert\">化月破</span>（变出之爻被月建冲），"
     u"以及一爻的<span style=\"color:$alert\">伏吟</span>（变出同一地支）与<span style=\"color:$alert\">反吟</span>（变出相冲之支）。</li>"
     u"<li>整卦的反吟、伏吟：有动爻的内卦或外卦，三爻变出的地支都冲原来的地支，为<b>内卦反吟</b>或<b>外卦反吟</b>；"
     u"变出的三个地支与原来相同（乾、震互变），为<b>内卦伏吟</b>或<b>外卦伏吟</b>；八纯卦六爻齐动（如乾为天变坤为地），"
     u"为<b>卦变反吟</b>。流派设置里可选把卦变对宫（乾巽、坎离、艮坤、震兑）也算作反吟。</li>"
     u"<li>卦名旁的<span style=\"color:$type\">六冲</span>、<span style=\"color:$type\">六合</span>，"
     u"以及<span style=\"color:$type\">六冲变六合</span>、<span style=\"color:$type\">六合变六冲</span>。</li>"
     u"</ul>"},
    {u"strength", u"旺衰",
     u"<ul>"
     u"<li><b>旺相休囚死</b>：以月建的五行论，与月建同行为旺，月建所生为相，生月建为休，克月建为囚，被月建所克为死。</li>"
     u"<li><b>月、日对爻</b>：月建、日建与爻同支为<b>临</b>，五行生爻为<b>生</b>，同五行而不同支为<b>扶</b>，"
     u"克爻为<b>克</b>，六合为<b>合</b>，六冲为<b>冲</b>。</li>"
     u"<li><b>十二长生</b>：爻的五行在日建上所处的阶段——长生、沐浴、冠带、临官、帝旺、衰、病、死、墓、绝、胎、养。</li>"
     u"<li><b>旺与衰</b>：得月令（旺、相，也就是月建临、生、扶），或得日建临、生、扶，为旺；逢月破者不论旺。其余为衰。</li>"
     u"</ul>"},
    {u"usegod", u"用神",
     u"<p>在<b>占类</b>中选定所问之事，程序便按占类取用神：</p>"
     u"<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\">"
     u"<tr><th>占类</th><th>用神</th></tr>"
     u"<tr><td>自身、出行、疾病</td><td>世爻</td></tr>"
     u"<tr><td>求财、失物</td><td>妻财</td></tr>"
     u"<tr><td>工作、功名、官司</td><td>官鬼</td></tr>"
     u"<tr><td>考试、文书、家宅、父母</td><td>父母</td></tr>"
     u"<tr><td>子女</td><td>子孙</td></tr>"
     u"<tr><td>兄弟朋友</td><td>兄弟</td></tr>"
     u"<tr><td>婚恋</td><td>男测取妻财，女测取官鬼（须选性别）</td></tr>"
     u"</table>"
     u"<p><b>两现</b>：同一六亲出现两次以上时，依次取舍——舍静用动，舍休囚用旺相，舍月破用不破，舍空用不空，"
     u"舍闲爻用持世、应之爻；仍分不出，取下面的一爻。用神不上卦时，取本宫首卦中的该六亲为伏神，也按上述次序取舍。</p>"
     u"<p>定了用神，其余各爻按五行标出：生用神者为<b>原神</b>，克用神者为<b>忌神</b>，克原神者为<b>仇神</b>。</p>"
     u"<p><b>手选</b>：在“用神或伏神选择”菜单里亲自选定某爻为用神，则以手选为准，不再按占类取用。</p>"},
    {u"timing", u"应期",
     u"<p>程序按下列规则列出应期的<b>候选</b>——可能应事的日、月及其地支。它们只是按规则推出的可能，不是断语；"
     u"哪一个应验，还须结合全卦自行判断。</p>"
     u"<ul>"
     u"<li><b>值</b>：逢用神本支之日（月）。</li>"
     u"<li><b>冲</b>：静爻或被合住之爻，逢冲之日。</li>"
     u"<li><b>合</b>：动爻或被冲散之爻，逢合之日。</li>"
     u"<li><b>出空</b>：旬空之爻，出旬之时。</li>"
     u"<li><b>填实</b>：旬空之爻，逢其本支之日。</li>"
     u"<li><b>补破</b>：月破之爻，出月后逢其本支或逢合之日。</li>"
     u"<li><b>冲墓</b>：入墓之爻，逢冲开其墓之日。</li>"
     u"<li><b>生旺</b>：衰弱之爻，逢生、逢旺之日。</li>"
     u"</ul>"},
    {u"yaodian", u"断卦要点",
     u"<p><b>断卦要点</b>（视图菜单）把卦中已算出的事实归成几条：用神及其旺衰，生扶与克害，原神、忌神有力无力，"
     u"尚待的条件（待出空、待出月/填实、待冲开、待出伏、待生旺，各附第一个应期候选），世应，以及六冲六合、反吟伏吟、"
     u"独发独静、与用神有关的三合。每条注明出处（如“增删卜易·旬空章”），鼠标停在条目上可看所据之规则；"
     u"单击一条，表格和卦盘上标出它所涉及的爻。</p>"
     u"<p>末尾的<b>趋势</b>按“日月为重，动爻次之，变爻再次”权衡：用神真空、真破或伏神难出为不利；"
     u"否则生扶多于克害为有利，尚有条件未满则为待条件；克害多于生扶为不利；两相抵消则为难断，不作猜测。"
     u"要点只是按规则汇总的读卦参考，不是断语。复制的卦象文本、AI 提问和卦盘底部也带有要点，打印和 PDF 列出全部条目。</p>"},
    {u"jingwen", u"周易经文",
     u"<p><b>周易经文</b>（工具菜单，或卦盘上方的按钮）列出本卦的卦辞、彖、象和爻辞、小象。"
     u"先列本卦应看的经文，按朱熹《易学启蒙·考变占》依动爻多少取辞，标【主】者为主：</p>"
     u"<ul>"
     u"<li>六爻安静：看本卦卦辞（连同彖、象）。</li>"
     u"<li>一爻动：看本卦动爻之辞。两爻动：看本卦两动爻之辞，以上爻为主。</li>"
     u"<li>三爻动：看本卦与变卦的卦辞，本卦为贞、变卦为悔；初爻在动爻之中者以本卦为主，否则以变卦为主。</li>"
     u"<li>四爻动：看变卦两静爻之辞，以下爻为主。五爻动：看变卦静爻之辞。</li>"
     u"<li>六爻全动：乾看用九，坤看用六，其余看变卦卦辞。</li>"
     u"</ul>"
     u"<p>其后是本卦、变卦的全文，动爻标有“（动）”。上方的搜索框可查卦名或任一句经文，结果按“卦 · 爻”列出，点一下即显示该卦。"
     u"复制卦象文本和复制为AI提问都附上所取的经文；打印或导出PDF时勾选“打印经文”，经文印在第二页。</p>"},
    {u"journal", u"案例库",
     u"<ul>"
     u"<li><b>保存到案例库</b>（菜单，Ctrl+B）：六爻排好后，把本卦连同卜问何事、性别、备注和标签存下。</li>"
     u"<li><b>案例库</b>（菜单，Ctrl+L）：列出所有案例，可搜索；双击或回车把案例重新排到表格上。</li>"
     u"<li>每个案例记有结果：<b>应验</b>、<b>不验</b>或<b>未定</b>；未定而首个应期已过的，列为<b>待验</b>。"
     u"事后回来填上结果和经过，日积月累便是自己的断卦记录。</li>"
     u"<li>窗口上方列出案例，下方是所选案例的卦盘，右边是它的占类、用神和备注、结果、标签。窗口的大小会被记住。</li>"
     u"<li><b>验证统计</b>：按占类、标签、用神旺衰、卦型和起卦月份分组，统计有结果的案例中应验、不验的个数和命中率；"
     u"点一下柱或表中的行，案例库便列出该组的案例。<b>导出CSV…</b>把各表存为 CSV 文件。</li>"
     u"<li>导出全部、导入：以 JSON 文件备份和迁移案例；导入时跳过已有的相同案例，与案例库中不同的，先问是否替换。</li>"
     u"</ul>"},
    {u"export", u"导出与打印",
     u"<ul>"
     u"<li><b>复制卦象文本</b>（Ctrl+Shift+C）：把整张卦写成纯文本放到剪贴板，可直接贴到论坛或笔记里。</li>"
     u"<li><b>复制为AI提问</b>：把卦象文本连同所问之事整理成一段提问放到剪贴板，可贴给 AI 助手。复制时不联网，也不向外发送任何内容。</li>"
     u"<li><b>导出图片…</b>：把卦存为 PNG 图片，按屏幕两倍的清晰度绘制。图片默认白底，便于打印和贴到论坛；"
     u"在保存对话框里勾选“深色卦盘”则存为深底浅字，下次沿用这一选择。</li>"
     u"<li><b>打印…</b>、<b>导出PDF…</b>：把卦打印出来，或存为 PDF 文件。</li>"
     u"<li><b>卦盘</b>：按当前的卦画出的卦图，随表格即时更新。</li>"
     u"<li><b>截图</b>（Ctrl+S）：把整个主窗口存为图片。</li>"
     u"</ul>"
     u"<p>图片、PDF、CSV 或截图存好后，状态栏显示文件名，点旁边的“打开所在文件夹”即可找到它。</p>"},
    {u"schools", u"流派设置",
     u"<p>各家说法不一之处，可在<b>流派设置…</b>中选择程序依哪一家。<b>流派</b>一栏一次选定一家的全部取法："
     u"<b>增删卜易</b>（默认）、<b>卜筮正宗</b>，或<b>通行</b>（今人书中的简便取法，也是本程序先前的算法，旧案例照旧排出）；"
     u"改动其中任一项即显示为<b>自定义</b>。案例保存时连同所依流派一起保存。各项为：</p>"
     u"<ul>"
     u"<li><b>两现</b>：增删卜易古法取旺、取动，旬空月破之爻定应期；卜筮正宗持世为先；通行舍静用动、舍衰用旺。</li>"
     u"<li><b>用神不上卦</b>：增删卜易以日月为用神，卜筮正宗先查变爻，都不见再取伏神；伏神另注能否得出。</li>"
     u"<li><b>旺衰</b>：增删卜易以临日月、得日月动变生扶、逢长生帝旺为旺；通行看月令旺相与日建生扶。</li>"
     u"<li><b>空破</b>：分真空假空、真破与目下破；动爻旬空逢日冲亦为冲实。</li>"
     u"<li><b>三合</b>：只取三合章四格，或一爻动配静爻、月日亦成局。</li>"
     u"<li><b>化合</b>、<b>独发独静</b>：是否标出。</li>"
     u"<li><b>应期</b>：是否兼取各门类应期总注诸法，及忌神发动之期。</li>"
     u"<li><b>羊刃</b>：禄后一位（十干皆然），或阳前阴后（阳干在禄后一位，阴干在禄前一位）。</li>"
     u"<li><b>反吟</b>：只看地支相冲，或把卦变对宫（乾巽、坎离、艮坤、震兑）也算作反吟。</li>"
     u"<li><b>时间起卦 23 点后的日</b>：随子初换日的设置、按子正换日或按子初换日。</li>"
     u"<li><b>数字起卦</b>：动爻是否加时辰数。</li>"
     u"</ul>"},
    {u"commands", u"命令行与 AI 助手",
     u"<ul>"
     u"<li><b>lotgrid-chart</b>：不开窗口，在终端里排卦。六位数字自初爻起，6 为老阴（动）、7 为少阳、8 为少阴、9 为老阳（动），"
     u"如 <tt>lotgrid-chart 978788 --time \"2000-01-01 12:00\"</tt>；<tt>--zi23</tt> 为子初换日，<tt>--json</tt> 输出 JSON，"
     u"<tt>--texts</tt> 附上所取的经文，<tt>--help</tt> 列出全部用法。输出的文本与“复制卦象文本”相同（经文只在加 <tt>--texts</tt> 时附上）。</li>"
     u"<li><b>lotgrid-mcp</b>：供支持 MCP 的 AI 助手调用的本地服务：助手可借它排卦、读取案例库，但不会修改案例。"
     u"在助手的设置里把 lotgrid-mcp 登记为本地（stdio）服务即可。</li>"
     u"</ul>"},
    {u"colours", u"颜色",
     u"<p>表格中各项文字的颜色：<span style=\"color:$original\">本卦</span>、<span style=\"color:$changed\">变卦</span>、"
     u"<span style=\"color:$type\">六冲六合</span>、<span style=\"color:$spirit\">六神</span>、"
     u"<span style=\"color:$relative\">六亲与月建</span>、<span style=\"color:$day\">日建与旬空</span>、"
     u"<span style=\"color:$world\">世应</span>、<span style=\"color:$alert\">爻的标记</span>、"
     u"<span style=\"color:$quiet\">伏神与神煞</span>。桌面换成深色时，整个窗口连同表格一起变深，各色随之调亮，保证看得清。</p>"
     u"<p>屏幕较窄或放大（Ctrl+=）后，表格先收紧各列，再把变卦移到本卦下方，卦盘移到表格下方，尽量不必左右滚动；"
     u"Ctrl+0 恢复原大小和窗口原来的尺寸。</p>"},
    {u"disclaimer", u"免责申明",
     u"<p>本软件为个人学习娱乐爱好所作，请在下载后24小时内删除，"
     u"如用本软件所自带的功能对任何事物（包括人）或自己造成的一切后果均与本人无任何关系！</p>"},
}};
// clang-format on

QString pageHtml(const ChartColours &colours)
{
    QString html = u"<h2>使用说明</h2><p>"_s;
    QStringList contents;
    for (const Section &s : Sections)
        contents << u"<a href=\"#%1\">%2</a>"_s.arg(QString::fromUtf16(s.anchor), QString::fromUtf16(s.title));
    html += contents.join(u"　"_s) + u"</p>"_s;
    for (const Section &s : Sections)
        html += u"<h3><a name=\"%1\"></a>%2</h3>%3"_s.arg(QString::fromUtf16(s.anchor), QString::fromUtf16(s.title),
                                                          QString::fromUtf16(s.body));
    const std::array<std::pair<QString, Ink>, 9> inks{{{u"$alert"_s, Ink::Alert},
                                                       {u"$relative"_s, Ink::Relative},
                                                       {u"$day"_s, Ink::DayBuild},
                                                       {u"$original"_s, Ink::Original},
                                                       {u"$changed"_s, Ink::Changed},
                                                       {u"$spirit"_s, Ink::Spirit},
                                                       {u"$world"_s, Ink::WorldResponse},
                                                       {u"$type"_s, Ink::HexagramType},
                                                       {u"$quiet"_s, Ink::Quiet}}};
    for (const auto &[placeholder, ink] : inks)
        html.replace(placeholder, colours.ink(ink).name());
    return html;
}

} // namespace

QWidget *createHelpf(QWidget *parent)
{
    QWidget *w = reference::newWindow(parent, u"Helpf"_s, u"使用说明"_s);
    auto *page = new QTextBrowser(w);
    page->setObjectName(u"bangzhuText"_s);
    page->setOpenLinks(true);
    page->setOpenExternalLinks(false);
    auto *layout = new QVBoxLayout(w);
    layout->addWidget(page);

    // On the sheet's ground, in the sheet's colours; the marks named in the text keep theirs.
    followDesktopColours(page, [page](const ChartColours &colours) {
        QPalette p = page->palette();
        p.setColor(QPalette::Base, colours.panel());
        p.setColor(QPalette::Text, colours.ink(Ink::Text));
        p.setColor(QPalette::Link, colours.ink(Ink::Relative));
        p.setColor(QPalette::LinkVisited, colours.ink(Ink::Relative));
        page->setPalette(p);
        const int scrolled = page->verticalScrollBar()->value();
        page->setHtml(pageHtml(colours));
        page->verticalScrollBar()->setValue(scrolled);
    });

    // About forty characters to a line and thirty lines, in the window's own type.
    const QFontMetrics metrics = page->fontMetrics();
    w->resize(metrics.horizontalAdvance(u"字"_s) * 42, metrics.lineSpacing() * 32);
    return w;
}

} // namespace lotgrid
