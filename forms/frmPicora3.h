// SPDX-License-Identifier: MIT
#pragma once

#include "platform/Form.h"
#include "platform/FormRef.h"

#include <QStringView>

#include <string>
#include <vector>

namespace Catalogue {
struct Category;
}

class QAction;
class QComboBox;
class QLabel;
class QPushButton;
class QRect;
class FaceListModel;
class Line;

// The main window: seven category buttons fill the face list; a chosen or typed face shows
// large in lblFace and goes to the clipboard.
class FrmPicora3 : public Form {
    Q_OBJECT

public:
    FrmPicora3();

    // Appends entries at the end of the face list, leaving its text field as it is.
    void appendFaces(std::vector<std::u16string> faces);
    // Clears the face list: all entries go and its text field is emptied.
    void clearFaces();

    QLabel *lblFace;
    QLabel *lblSel;
    QComboBox *cboFace;
    QPushButton *cmdWarai;
    QPushButton *cmdNaki;
    QPushButton *cmdIkari;
    QPushButton *cmdTanoshii;
    QPushButton *cmdMu;
    QPushButton *cmdSonota;
    QPushButton *cmdUser;
    QPushButton *Command1;
    Line *Line1;

    QAction *mnuEnd;
    QAction *mnuEnter;
    QAction *mnuDelete;
    QAction *mnuHelp;
    QAction *mnuVersion;

protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;

private:
    FaceListModel *faceList_;

    void buildMenus();
    QPushButton *addCategoryButton(const Catalogue::Category &category, const QRect &geometry);
    void showCategory(void (*fill)(), QStringView label);

    void cmdWarai_Click();
    void cmdNaki_Click();
    void cmdIkari_Click();
    void cmdTanoshii_Click();
    void cmdMu_Click();
    void cmdSonota_Click();
    void cmdUser_Click();
    void cboFace_Click();
    void cboFace_Change();
    void Command1_Click();
    void mnuEnd_Click();
    void mnuEnter_Click();
    void mnuDelete_Click();
    void mnuHelp_Click();
    void mnuVersion_Click();
};

inline FormRef<FrmPicora3> frmPicora3;
