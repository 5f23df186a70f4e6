#include "app/Text_Distance_Page.h"

#include <limits>
#include <optional>

#include "analysis/Text_Distance_Unit.h"
#include "base/Real_Format.h"
#include "diagnostics/Chrono_Unit.h"
#include "qt/Qt_Controls.h"
#include "qt/Qt_Long_Work.h"
#include "qt/Text_Codec.h"

TTextDistancePage::TTextDistancePage() : TPage("TabSheet1", QStringLiteral("Text Distance")) {
    TextDistance_Edit1 = MakeEdit(this, "TextDistance_Edit1", QString(), QRect(40, 96, 121, 21));
    TextDistance_Edit2 = MakeEdit(this, "TextDistance_Edit2", QString(), QRect(40, 152, 121, 21));
    TextDistance_Button = MakeButton(this, "TextDistance_Button", QStringLiteral("&Text Distance"),
                                     QRect(176, 128, 89, 25));
    // The texts have no length limit.
    TextDistance_Edit1->setMaxLength(std::numeric_limits<int>::max());
    TextDistance_Edit2->setMaxLength(std::numeric_limits<int>::max());
    Text_Distance_Memo =
        MakeMemo(this, "Text_Distance_Memo", QRect(296, 40, 209, 209), TScrollBars::Vertical);
    ConnectClick(TextDistance_Button, [this] { TextDistance_ButtonClick(); });
}

void TTextDistancePage::TextDistance_ButtonClick() {
    if (Chrono) Chrono->StartTimer("distance");
    const TTextDistanceManager manager;
    const std::string a = FromQt(TextDistance_Edit1->text());
    const std::string b = FromQt(TextDistance_Edit2->text());
    // Long texts take a while: Escape and Stop end the work with nothing added.
    TLongWork work(QStringLiteral("Text distance"));
    if (const std::optional<double> d = manager.Distance(a, b, work))
        Text_Distance_Memo->Add(a + " - " + b + " : " + FloatToStr(*d));
    if (Chrono) Chrono->StopTimer("distance");
}
