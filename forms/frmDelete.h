// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/FaceFile.h"
#include "platform/Form.h"
#include "platform/FormRef.h"

class FaceListModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Deleting one registered face by its number in the face file.
class FrmDelete : public Form {
    Q_OBJECT

public:
    FrmDelete();

    QLabel *Label1;
    QComboBox *cboFace;
    QLabel *Label2;
    QPushButton *cmdDelete;
    QLineEdit *txtNumber;

    // What the last reading of the face file listed; a deletion hands it back, so that only
    // the face listed under the number goes.
    FaceFileReading listing = FaceFileReading::absent();

protected:
    void Form_Load() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FaceListModel *entryList_;

    void listFaces();
    // Rewrites the face file without the chosen face ("delete" is taken by C++); false, after
    // saying why, when the file stays as it was.
    bool delete_();

    void cmdDelete_Click();
    void txtNumber_Change();
    void txtNumber_GotFocus();
    void cboFace_Click();
    void cboFace_Change();
};

inline FormRef<FrmDelete> frmDelete;
