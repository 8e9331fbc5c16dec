#include "ui/form1.h"

namespace zantic {

void Form1::Form_Load() {}
void Form1::Form_MouseDown() {}
void Form1::Chat1_ChatLine(std::string_view, std::string_view) {}

void Form1::Click(Control label) {
  switch (label) {
    case Control::Label2: return Label2_Click();
    case Control::Label3: return Label3_Click();
    case Control::Label4: return Label4_Click();
    case Control::Label5: return Label5_Click();
    case Control::Label6: return Label6_Click();
    case Control::Label7: return Label7_Click();
    case Control::Label8: return Label8_Click();
    case Control::Label9: return Label9_Click();
    case Control::Label10: return Label10_Click();
    case Control::Label11: return Label11_Click();
    case Control::Label12: return Label12_Click();
    case Control::Label13: return Label13_Click();
    case Control::Label14: return Label14_Click();
    default: return;  // the title, the boxes, the logo and the line have no click handler
  }
}

void Form1::Label2_Click() {}
void Form1::Label3_Click() {}
void Form1::Label4_Click() {}
void Form1::Label5_Click() {}
void Form1::Label6_Click() {}
void Form1::Label7_Click() {}
void Form1::Label8_Click() {}
void Form1::Label9_Click() {}
void Form1::Label10_Click() {}
void Form1::Label11_Click() {}
void Form1::Label12_Click() {}
void Form1::Label13_Click() {}
void Form1::Label14_Click() {}

}  // namespace zantic
