#pragma once

#include "shell/language.h"

#include <array>

namespace kerfline {

// Where a text of the configuration dialog goes.
enum class TextRole { Caption, Item, Hint };

struct DialogText {
    const char* control;
    TextRole role;
    int item;  // the item index for TextRole::Item, else 0
    TextKey key;
};

// The texts the dialog takes from the language file at creation. The items of Mode are rebuilt
// from kModeTexts (cutting_mode.h); the items of the other groups are replaced in place.
inline constexpr std::array<DialogText, 70> kConfigurationDialogTexts{{
    {"TabSheet2", TextRole::Caption, 0, TextKey{"Configuration", "Tabsheet2.caption"}},
    {"ploter", TextRole::Caption, 0, TextKey{"Configuration", "ploter.caption"}},
    {"tabSeryjne", TextRole::Caption, 0, TextKey{"Configuration", "tabSeryjne.caption"}},
    {"tabObrotowe", TextRole::Caption, 0, TextKey{"Configuration", "tabObrotowe.caption"}},
    {"tabInne", TextRole::Caption, 0, TextKey{"Configuration", "tabInne.caption"}},
    {"Button1", TextRole::Caption, 0, TextKey{"Configuration", "Button1.caption"}},
    {"cancel", TextRole::Caption, 0, TextKey{"Configuration", "cancel.caption"}},
    {"AutoSave", TextRole::Caption, 0, TextKey{"Configuration", "AutoSave.caption"}},
    {"zapis", TextRole::Caption, 0, TextKey{"Configuration", "zapis.caption"}},
    {"Odczyt", TextRole::Caption, 0, TextKey{"Configuration", "Odczyt.caption"}},
    {"CatDir", TextRole::Caption, 0, TextKey{"Configuration", "CatDir.caption"}},
    {"CatDir", TextRole::Item, 0, TextKey{"Configuration", "catdir.Item0"}},
    {"CatDir", TextRole::Item, 1, TextKey{"Configuration", "catdir.Item1"}},
    {"CatDir", TextRole::Item, 2, TextKey{"Configuration", "catdir.Item2"}},
    {"Labelsrednica", TextRole::Caption, 0, TextKey{"Configuration", "Labelsrednica.caption"}},
    {"Labelspeed", TextRole::Caption, 0, TextKey{"Configuration", "Labelspeed.caption"}},
    {"Labelprzestawcza", TextRole::Caption, 0, TextKey{"Configuration", "Labelprzestawcza.caption"}},
    {"Labelpower", TextRole::Caption, 0, TextKey{"Configuration", "Labelpower.caption"}},
    {"Labelstarttime", TextRole::Caption, 0, TextKey{"Configuration", "Labelstarttime.caption"}},
    {"Wstrzymaj", TextRole::Caption, 0, TextKey{"Configuration", "Wstrzymaj.caption"}},
    {"dopasujKierunek", TextRole::Caption, 0, TextKey{"Configuration", "dopasujKierunek.caption"}},
    {"Heavy", TextRole::Caption, 0, TextKey{"Configuration", "heavy.caption"}},
    {"AddFrame", TextRole::Caption, 0, TextKey{"Configuration", "AddFrame.caption"}},
    {"MoveAfter", TextRole::Caption, 0, TextKey{"Configuration", "PrPrzesunPoCieciu"}},
    {"KierunekObrotow", TextRole::Caption, 0, TextKey{"Configuration", "KierunekObrotow.caption"}},
    {"KierunekObrotow", TextRole::Item, 0, TextKey{"Configuration", "KierunekObrotow.Item0"}},
    {"KierunekObrotow", TextRole::Item, 1, TextKey{"Configuration", "KierunekObrotow.Item1"}},
    {"Labelilkrok", TextRole::Caption, 0, TextKey{"Configuration", "Labelilkrok.caption"}},
    {"Labelilobr", TextRole::Caption, 0, TextKey{"Configuration", "Labelilobr.caption"}},
    {"Labelpauza", TextRole::Caption, 0, TextKey{"Configuration", "Labelpauza.caption"}},
    {"Labelskala", TextRole::Caption, 0, TextKey{"Configuration", "LabelSkala.caption"}},
    {"LabelXwrzeciona", TextRole::Caption, 0, TextKey{"Configuration", "labelXwrzeciona.caption"}},
    {"LabelYwrzeciona", TextRole::Caption, 0, TextKey{"Configuration", "Labelywrzeciona.caption"}},
    {"LabelXstolika", TextRole::Caption, 0, TextKey{"Configuration", "labelXStolika.caption"}},
    {"LabelYstolika", TextRole::Caption, 0, TextKey{"Configuration", "LabelYStolika.caption"}},
    {"LabelXnarzedzia", TextRole::Caption, 0, TextKey{"Configuration", "labelXNarzedzia.caption"}},
    {"LabelYnarzedzia", TextRole::Caption, 0, TextKey{"Configuration", "labelYNarzedzia.caption"}},
    {"btnPobierzXYwrzeciona", TextRole::Caption, 0, TextKey{"Configuration", "btnPobierzXYwrzeciona.Caption"}},
    {"btnPobierzXYstolika", TextRole::Caption, 0, TextKey{"Configuration", "btnPobierzXYstolika.Caption"}},
    {"gbKalibracja", TextRole::Caption, 0, TextKey{"Configuration", "gbKalibracja.caption"}},
    {"rgBazowanie", TextRole::Caption, 0, TextKey{"Configuration", "rgBazowanie.caption"}},
    {"rgBazowanie", TextRole::Item, 0, TextKey{"Configuration", "rgBazowanie.items0"}},
    {"rgBazowanie", TextRole::Item, 1, TextKey{"Configuration", "rgBazowanie.items1"}},
    {"Mode", TextRole::Caption, 0, TextKey{"Configuration", "Mode.caption"}},
    {"PowerOutput", TextRole::Caption, 0, TextKey{"Configuration", "PowerOutput.Caption"}},
    {"PowerOutput", TextRole::Item, 0, TextKey{"Configuration", "PowerOutput.Items0"}},
    {"PowerOutput", TextRole::Item, 1, TextKey{"Configuration", "PowerOutput.Items1"}},
    {"StolikSwitch", TextRole::Item, 0, TextKey{"Configuration", "stolikswitch.Item0"}},
    {"StolikSwitch", TextRole::Item, 1, TextKey{"Configuration", "stolikswitch.Item1"}},
    {"StolikSwitch", TextRole::Item, 2, TextKey{"Configuration", "stolikswitch.Item2"}},
    {"radiounit", TextRole::Caption, 0, TextKey{"Configuration", "radioUnit.caption"}},
    {"rgKatObrotu", TextRole::Caption, 0, TextKey{"Configuration", "rgKatObrotu.caption"}},
    {"rgKatObrotu", TextRole::Item, 0, TextKey{"Configuration", "rgKatObrotuItem0"}},
    {"rgKatObrotu", TextRole::Item, 1, TextKey{"Configuration", "rgKatObrotuItem1"}},
    {"rgAlgorytmObrotowego", TextRole::Caption, 0, TextKey{"Configuration", "rgAlgorytmObrotowego.caption"}},
    {"rgAlgorytmObrotowego", TextRole::Item, 0, TextKey{"Configuration", "rgAlgorytmObrotowegoItem0"}},
    {"rgAlgorytmObrotowego", TextRole::Item, 1, TextKey{"Configuration", "rgAlgorytmObrotowegoItem1"}},
    {"LabelSymulacja", TextRole::Caption, 0, TextKey{"Configuration", "LabelSymulacja.caption"}},
    {"LabelSymulacjaNormalna", TextRole::Caption, 0, TextKey{"Configuration", "LabelSymulacjaNormalna.caption"}},
    {"LabelSymulacjaSzybka", TextRole::Caption, 0, TextKey{"Configuration", "LabelSymulacjaSzybka.caption"}},
    {"Labelplt_accuracy", TextRole::Caption, 0, TextKey{"Configuration", "Labelplt_accuracy.caption"}},
    {"lRozdzielczoscKrzywychDXF", TextRole::Caption, 0, TextKey{"Configuration", "lRozdzielczoscKrzywychDXF.caption"}},
    {"lRozdzKrzywychDXFmala", TextRole::Caption, 0, TextKey{"Configuration", "lRozdzKrzywychDXFmala.caption"}},
    {"lRozdzKrzywychDXFduza", TextRole::Caption, 0, TextKey{"Configuration", "lRozdzKrzywychDXFduza.caption"}},
    {"cbCheckForUpdate", TextRole::Caption, 0, TextKey{"Configuration", "cbCheckForUpdate.caption"}},
    {"rgPredkoscTokarki", TextRole::Caption, 0, TextKey{"Configuration", "rgPredkoscTokarki.caption"}},
    {"rbZmiennaPredkosc", TextRole::Caption, 0, TextKey{"Configuration", "rbZmiennaPredkosc.caption"}},
    {"rbZmiennaPredkosc", TextRole::Hint, 0, TextKey{"Configuration", "rbZmiennaPredkosc.hint"}},
    {"rbStalaPredkosc", TextRole::Caption, 0, TextKey{"Configuration", "rbStalaPredkosc.caption"}},
    {"rbStalaPredkosc", TextRole::Hint, 0, TextKey{"Configuration", "rbStalaPredkosc.hint"}},
}};

// The title of the dialog that opens a configuration file.
inline constexpr TextKey kOpenConfigurationTitle = TextKey{"Configuration", "opendialogkonfig.title"};
// The error of taking the spindle or table position before the machine was homed.
inline constexpr TextKey kHomeMachineFirst = TextKey{"Configuration", "wykonajBazowaniePrzed"};

}  // namespace kerfline
