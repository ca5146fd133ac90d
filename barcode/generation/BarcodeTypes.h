#pragma once
// Barcode type names: the titles of the type popup that choose a symbology.
#include <QString>
#include <QStringList>

// The 22 type names in the order of the type popup; stored indexes refer to
// this order.
const QStringList& Barcode_Type_Names();

// Position of a type name in that order, -1 for an unknown name.
int Barcode_Type_Index(const QString& name);

// The 19 linear and postal names.
bool Is_Linear_Type_Name(const QString& name);

// "QR Code", "PDF417" and "DataMatrix": the 2D names that draw a symbol.
bool Is_2D_Type_Name(const QString& name);

// Titles the 2D branch accepts ("QR Code", "CODE_128", "AZTEC",
// "DATA_MATRIX", "DataMatrix", "MAXICODE", "ITF", "PDF417", "CODABAR");
// only the three of Is_2D_Type_Name() draw anything.
bool Is_Accepted_2D_Title(const QString& name);

// Code set given to a Code 128 symbol for its name: 0 "SET A", 1 "SET B",
// 2 "SET C", 3 automatic ("Code 128"), -1 for any other name.
int Code128_Set_For_Type(const QString& name);
