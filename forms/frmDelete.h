// SPDX-License-Identifier: MIT
#pragma once

#include "platform/Form.h"
#include "platform/FormRef.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Deleting one registered face by its number in the face file.
class FrmDelete : public Form {
    Q_OBJECT

public:
    FrmDelete();

    // The most faces the window lists and can delete.
    static constexpr int kMostFaces = 501;

    QLabel *Label1;
    QComboBox *cboFace;
    QLabel *Label2;
    QPushButton *cmdDelete;
    QLineEdit *txtNumber;

    // The lines the last reading took from the face file, as stored.
    int FaceCount = 0;
    QList<QByteArray> FaceBytes;

protected:
    void Form_Load() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
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
