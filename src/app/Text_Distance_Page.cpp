#include "app/Text_Distance_Page.h"

#include "qt/Qt_Controls.h"

TTextDistancePage::TTextDistancePage() : TPage("TabSheet1", QStringLiteral("Text Distance")) {
    TextDistance_Edit1 = MakeEdit(this, "TextDistance_Edit1", QString(), QRect(40, 96, 121, 21));
    TextDistance_Edit2 = MakeEdit(this, "TextDistance_Edit2", QString(), QRect(40, 152, 121, 21));
    TextDistance_Button =
        MakeButton(this, "TextDistance_Button", QStringLiteral("&Text Distance"), QRect(176, 128, 89, 25));
    Text_Distance_Memo = MakeMemo(this, "Text_Distance_Memo", QRect(296, 40, 209, 209), TScrollBars::Vertical);
    ConnectClick(TextDistance_Button, [this] { TextDistance_ButtonClick(); });
}

void TTextDistancePage::TextDistance_ButtonClick() {
    // Wired to the text distance engine when it lands.
}
