#include "core/util/BatchServices.h"

BatchServices::~BatchServices() = default;

BatchServices* Batch_Services = nullptr;

std::atomic<int> Use_Data_Sheet_Values{0};
std::atomic<int> Use_Excel_Binding_Values{0};
QString Start_Card_Option = QStringLiteral("T");
std::atomic<int> Print_Start{0};
std::atomic<int> Print_End{0};
std::atomic<int> Total_Label{1};
std::atomic<int> curr_card_count{0};
std::atomic<int> show_count{0};
