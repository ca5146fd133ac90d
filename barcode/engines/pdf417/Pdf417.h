#pragma once
// PDF417 encoder: a byte string becomes a symbol as a packed bit matrix,
// one bit per module (most significant bit first) and one bit row per
// codeword row. Plain procedural code on fixed buffers; failures are
// reported in the record's `error` field, never by exceptions.
#include <cstdint>

namespace pdf417 {

constexpr int MAX_CODEWORDS = 928;
constexpr int MAX_DATA_CODEWORDS = 926;
constexpr int MAX_TEXT = 5420;

// Option bits of pdf417param::options.
enum : int {
    PDF417_FIXED_RECTANGLE = 1,
    PDF417_FIXED_COLUMNS = 2,
    PDF417_FIXED_ROWS = 4,
    PDF417_USE_ERROR_LEVEL = 16,
    PDF417_USE_RAW_CODEWORDS = 64,
    PDF417_INVERT_BITMAP = 128,
};

// Error codes of pdf417param::error.
enum : int {
    PDF417_ERROR_SUCCESS = 0,
    PDF417_ERROR_TEXT_TOO_BIG = 1,
    PDF417_ERROR_INVALID_PARAMS = 2,
};

struct pdf417param {
    uint8_t* outBits = nullptr;   // result bit matrix, freed by pdf417free
    int lenBits = 0;              // bytes in outBits = bytes per row x rows
    int bitColumns = 0;           // modules per row = 17 x (codeColumns + 3) + 18
    int codeRows = 0;             // 3-90
    int codeColumns = 0;          // 1-30
    int codewords[MAX_CODEWORDS + 2] = {};
    int lenCodewords = 0;
    int errorLevel = 0;
    const char* text = "";        // input bytes, not owned
    int lenText = -1;             // negative: up to the terminating NUL
    int options = 0;
    float aspectRatio = 0.5f;
    float yHeight = 3.0f;
    int error = 0;
};

void pdf417init(pdf417param* p);
void paintCode(pdf417param* p);
void pdf417free(pdf417param* p);

// ---- Steps, visible for tests ----

// One segment of the input: 'T' text, 'B' bytes or 'N' digits, [start, end).
struct listElement {
    char type;
    int start;
    int end;
};

struct segmentList {
    listElement* list = nullptr;
    int size = 0;
    int capacity = 0;
};

void listInit(segmentList* l);
void listFree(segmentList* l);
bool listAdd(segmentList* l, char type, int start, int end);
listElement* listGet(segmentList* l, int idx);
void listRemove(segmentList* l, int idx);
bool checkElementType(listElement* e, char type);
int getElementLength(listElement* e);

// Splits p->text[0..p->lenText) into segments.
void breakString(const pdf417param* p, segmentList* list);

int maxPossibleErrorLevel(int remain);

} // namespace pdf417
