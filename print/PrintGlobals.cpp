#include "print/PrintGlobals.h"

int PDF_View_Not_Print = 0;
int PDF_Use_Label_Size = 0;
PtImage Barcode_Image;

float label_width = 0.0f;
float label_hight = 0.0f;
float Real_label_width = 0.0f;
float Real_label_hight = 0.0f;
float Left_Mar = 0.0f;
float Rite_Mar = 0.0f;
float Top_Mar = 0.0f;
float Bot_Mar = 0.0f;
float horz_mar = 0.0f;
float vert_mar = 0.0f;
int Print_Row = 1;
int Print_Col = 1;
float predef_page_wdt = 0.0f;
float predef_page_hgt = 0.0f;
int Manual_or_Pre = 0;
QString cus_or_pre = QStringLiteral("C");
int label_align_val = 1;
int label_align_val_bkup = 1;
int auto_center_flag = 0;

int Show_margin_rect = 1;
int Enable_Crop_Marks = 0;
int Fit_Picture_To_Frame = 0;
int skip_invalid_barcode = 0;
int print_wd_pq_opt = 0;
int Use_Barocde_In_Center = 0;

int Total_Label_Real = 1;
int printable_label_count = 0;

QString custom_prod_name;
QString custom_profile_Printer;
QString custom_print_profile_name;
