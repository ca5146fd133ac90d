#include "barcode/engines/pdf417/Pdf417.h"
#include "barcode/engines/pdf417/Pdf417Tables.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace pdf417 {

namespace {

// Codeword latches and shifts.
constexpr int TEXT_MODE = 900;
constexpr int BYTE_MODE = 901;
constexpr int NUMERIC_MODE = 902;
constexpr int BYTE_SHIFT = 913;
constexpr int BYTE_MODE_6 = 924;
constexpr int PAD = 900;

// Text compaction sub-modes as type bits of a character.
constexpr int ALPHA = 0x10000;
constexpr int LOWER = 0x20000;
constexpr int MIXED = 0x40000;
constexpr int PUNCTUATION = 0x80000;
constexpr int ISBYTE = 0x100000;
constexpr int TYPE_MASK = ALPHA | LOWER | MIXED | PUNCTUATION | ISBYTE;

// Working state of one encoding: the record plus the write positions.
struct Encoder {
    pdf417param* p;
    int cwPtr = 0;
    int bitPtr = 0;
    const uint8_t* bytes() const { return reinterpret_cast<const uint8_t*>(p->text); }
};

bool isTextByte(uint8_t c)
{
    return (c >= 32 && c <= 126) || c == 13 || c == 10 || c == 9;
}

bool isDigit(uint8_t c) { return c >= '0' && c <= '9'; }

int indexIn(const char* set, int setLen, uint8_t c)
{
    if (c == 0)
        return -1;
    const void* hit = std::memchr(set, c, size_t(setLen));
    return hit ? int(static_cast<const char*>(hit) - set) : -1;
}

// Type bits and value of the character at idx; no type past `end`.
int getTextTypeAndValue(const uint8_t* text, int end, int idx)
{
    if (idx >= end)
        return 0;
    const uint8_t c = text[idx];
    if (c >= 'A' && c <= 'Z')
        return ALPHA | (c - 'A');
    if (c >= 'a' && c <= 'z')
        return LOWER | (c - 'a');
    if (c == ' ')
        return ALPHA | LOWER | MIXED | 26;
    const int ms = indexIn(MIXED_SET, 25, c);
    const int ps = indexIn(PUNCTUATION_SET, 29, c);
    if (ms < 0 && ps < 0)
        return ISBYTE | c;
    if (ms == ps)
        return MIXED | PUNCTUATION | ms;
    if (ms >= 0)
        return MIXED | ms;
    return PUNCTUATION | ps;
}

void outCodeword(Encoder& e, uint32_t value, int nbits)
{
    pdf417param* p = e.p;
    const int byte = e.bitPtr >> 3;
    const int shift = e.bitPtr & 7;
    const uint64_t v = uint64_t(value) << (64 - nbits - shift);
    const int n = (shift + nbits + 7) / 8;
    for (int i = 0; i < n; ++i)
        p->outBits[byte + i] |= uint8_t(v >> (56 - 8 * i));
    e.bitPtr += nbits;
}

void outCodeword17(Encoder& e, int codeword) { outCodeword(e, uint32_t(codeword), 17); }
void outCodeword18(Encoder& e, int codeword) { outCodeword(e, uint32_t(codeword), 18); }
void outStartPattern(Encoder& e) { outCodeword17(e, START_PATTERN); }
void outStopPattern(Encoder& e) { outCodeword18(e, STOP_PATTERN); }

// False, with the too-big error set, when `size` more data codewords do not fit.
bool dataCodewordsFit(Encoder& e, int size)
{
    if (size + e.cwPtr > MAX_DATA_CODEWORDS) {
        e.p->error = PDF417_ERROR_TEXT_TOO_BIG;
        return false;
    }
    return true;
}

void textCompaction(Encoder& e, int start, int length)
{
    pdf417param* p = e.p;
    // Sub-mode values; at most three per character (latch, latch, value).
    static_assert(3 * MAX_TEXT + 4 < 32767);
    int16_t dest[3 * MAX_TEXT + 4];
    const uint8_t* text = e.bytes();
    const int end = start + length;
    int mode = ALPHA;
    int ptr = 0;
    int fullBytes = 0;
    for (int k = 0; k < length; ++k) {
        const int v = getTextTypeAndValue(text, end, start + k);
        const int ch = v & 0xff;
        const int type = v & TYPE_MASK;
        if (type & mode) {
            dest[ptr++] = int16_t(ch);
            continue;
        }
        if (type & ISBYTE) {
            if (ptr & 1) {
                dest[ptr++] = 29;   // pad the pair: a shift in A, L and M, a latch to A in P
                if (mode == PUNCTUATION)
                    mode = ALPHA;
            }
            dest[ptr++] = BYTE_SHIFT;
            dest[ptr++] = int16_t(ch);
            fullBytes += 2;
            continue;
        }
        const int next1 = getTextTypeAndValue(text, end, start + k + 1);
        const int next2 = getTextTypeAndValue(text, end, start + k + 2);
        const bool punctuationFollows = (next1 & PUNCTUATION) && (next2 & PUNCTUATION);
        // From Alpha or Lower: latch to Mixed, latch on to Punctuation, or shift.
        auto toMixedOrPunctuation = [&] {
            if (type & MIXED) {
                dest[ptr++] = 28;
                mode = MIXED;
            } else if (punctuationFollows) {
                dest[ptr++] = 28;
                dest[ptr++] = 25;
                mode = PUNCTUATION;
            } else {
                dest[ptr++] = 29;
            }
        };
        switch (mode) {
        case ALPHA:
            if (type & LOWER) {
                dest[ptr++] = 27;
                mode = LOWER;
            } else {
                toMixedOrPunctuation();
            }
            dest[ptr++] = int16_t(ch);
            break;
        case LOWER:
            if (type & ALPHA) {
                if ((next1 & ALPHA) && (next2 & ALPHA)) {
                    dest[ptr++] = 28;
                    dest[ptr++] = 28;
                    mode = ALPHA;
                } else {
                    dest[ptr++] = 27;
                }
            } else {
                toMixedOrPunctuation();
            }
            dest[ptr++] = int16_t(ch);
            break;
        case MIXED:
            if (type & LOWER) {
                dest[ptr++] = 27;
                mode = LOWER;
            } else if (type & ALPHA) {
                dest[ptr++] = 28;
                mode = ALPHA;
            } else if (punctuationFollows) {
                dest[ptr++] = 25;
                mode = PUNCTUATION;
            } else {
                dest[ptr++] = 29;
            }
            dest[ptr++] = int16_t(ch);
            break;
        default:   // PUNCTUATION: back to Alpha, then this character again
            dest[ptr++] = 29;
            mode = ALPHA;
            --k;
            break;
        }
    }
    if (ptr & 1)
        dest[ptr++] = 29;
    if (!dataCodewordsFit(e, (ptr + fullBytes) / 2))
        return;
    for (int k = 0; k < ptr; ++k) {
        const int v = dest[k];
        if (v >= 30) {
            p->codewords[e.cwPtr++] = v;
            p->codewords[e.cwPtr++] = dest[++k];
        } else {
            p->codewords[e.cwPtr++] = v * 30 + dest[k + 1];
            ++k;
        }
    }
}

// Digits as the decimal number 1 followed by them, in base 900.
void basicNumberCompaction(Encoder& e, int start, int length)
{
    const uint8_t* text = e.bytes();
    // The number in limbs of six decimal digits, most significant first.
    constexpr int64_t LIMB = 1000000;
    int64_t limbs[8];
    int n = 0;
    const int total = length + 1;          // the leading 1 and the digits
    int first = total % 6 ? total % 6 : 6;  // digits in the first limb
    int pos = -1;                           // -1 is the leading 1
    while (pos < length) {
        int64_t v = 0;
        for (int i = 0; i < first; ++i, ++pos)
            v = v * 10 + (pos < 0 ? 1 : text[start + pos] - '0');
        limbs[n++] = v;
        first = 6;
    }
    const int count = length / 3 + 1;
    int* out = e.p->codewords + e.cwPtr;
    for (int c = count - 1; c >= 0; --c) {
        int64_t rem = 0;
        for (int i = 0; i < n; ++i) {
            const int64_t cur = rem * LIMB + limbs[i];
            limbs[i] = cur / 900;
            rem = cur % 900;
        }
        out[c] = int(rem);
    }
    e.cwPtr += count;
}

void numberCompaction(Encoder& e, int start, int length)
{
    const int full = length / 44;
    const int rest = length % 44;
    if (!dataCodewordsFit(e, full * 15 + (rest ? rest / 3 + 1 : 0)))
        return;
    for (int k = 0; k < length; k += 44)
        basicNumberCompaction(e, start + k, length - k < 44 ? length - k : 44);
}

// Six bytes as a 48-bit number in base 900, five codewords.
void byteCompaction6(Encoder& e, int start)
{
    const uint8_t* text = e.bytes();
    uint64_t v = 0;
    for (int i = 0; i < 6; ++i)
        v = (v << 8) | text[start + i];
    int* out = e.p->codewords + e.cwPtr;
    for (int c = 4; c >= 0; --c) {
        out[c] = int(v % 900);
        v /= 900;
    }
    e.cwPtr += 5;
}

void byteCompaction(Encoder& e, int start, int length)
{
    if (!dataCodewordsFit(e, (length / 6) * 5 + length % 6))
        return;
    const int end = start + length;
    int k = start;
    for (; k + 6 <= end; k += 6)
        byteCompaction6(e, k);
    const uint8_t* text = e.bytes();
    for (; k < end; ++k)
        e.p->codewords[e.cwPtr++] = text[k];
}

void assemble(Encoder& e, segmentList* list)
{
    e.cwPtr = 1;
    for (int k = 0; k < list->size; ++k) {
        listElement* v = listGet(list, k);
        const int len = getElementLength(v);
        // A latch needs room too.
        if (e.cwPtr >= MAX_DATA_CODEWORDS) {
            e.p->error = PDF417_ERROR_TEXT_TOO_BIG;
            return;
        }
        switch (v->type) {
        case 'T':
            if (k != 0)
                e.p->codewords[e.cwPtr++] = TEXT_MODE;
            textCompaction(e, v->start, len);
            break;
        case 'N':
            e.p->codewords[e.cwPtr++] = NUMERIC_MODE;
            numberCompaction(e, v->start, len);
            break;
        case 'B':
            e.p->codewords[e.cwPtr++] = (len % 6) ? BYTE_MODE : BYTE_MODE_6;
            byteCompaction(e, v->start, len);
            break;
        }
        if (e.p->error)
            return;
    }
}

void getMaxSquare(pdf417param* p)
{
    if (p->codeColumns > 21) {
        p->codeColumns = 29;
        p->codeRows = 32;
    } else {
        p->codeColumns = 16;
        p->codeRows = 58;
    }
}

void calculateErrorCorrection(Encoder& e, int dest)
{
    pdf417param* p = e.p;
    int level = p->errorLevel;
    if (level < 0 || level > 8)
        level = 0;
    const int k = 2 << level;
    const int* a = ERROR_LEVEL(level);
    // Sums are kept unreduced: each slot gathers at most k terms below 929^2
    // before it is reduced, so 32 bits suffice and the inner loop vectorises.
    constexpr uint32_t C = uint32_t(PDF417_MOD) * PDF417_MOD;
    uint32_t ar[512];
    uint32_t ec[513];
    for (int j = 0; j < k; ++j) {
        ar[j] = uint32_t(a[k - 1 - j]);
        ec[j] = 0;
    }
    ec[k] = 0;
    for (int n = 0; n < dest; ++n) {
        const uint32_t t = (uint32_t(p->codewords[n]) + ec[0]) % PDF417_MOD;
        for (int j = 0; j < k; ++j)
            ec[j] = ec[j + 1] + (C - t * ar[j]);
    }
    for (int j = 0; j < k; ++j) {
        const int r = int(ec[j] % PDF417_MOD);
        p->codewords[dest + j] = (PDF417_MOD - r) % PDF417_MOD;
    }
}

bool outPaintCode(Encoder& e)
{
    pdf417param* p = e.p;
    p->bitColumns = 17 * (p->codeColumns + 3) + 18;
    const int bytesPerRow = (p->bitColumns - 1) / 8 + 1;
    p->lenBits = bytesPerRow * p->codeRows;
    p->outBits = static_cast<uint8_t*>(std::calloc(size_t(p->lenBits), 1));
    if (!p->outBits) {
        p->lenBits = 0;
        return false;
    }
    const int rows = p->codeRows;
    const int cols = p->codeColumns;
    int codePtr = 0;
    for (int row = 0; row < rows; ++row) {
        e.bitPtr = bytesPerRow * 8 * row;
        const int rowMod = row % 3;
        const int* cluster = CLUSTERS[rowMod];
        const int q = 30 * (row / 3);
        int left, right;
        switch (rowMod) {
        case 0:
            left = q + (rows - 1) / 3;
            right = q + cols - 1;
            break;
        case 1:
            left = q + p->errorLevel * 3 + (rows - 1) % 3;
            right = q + (rows - 1) / 3;
            break;
        default:
            left = q + cols - 1;
            right = q + p->errorLevel * 3 + (rows - 1) % 3;
            break;
        }
        outStartPattern(e);
        outCodeword17(e, cluster[left]);
        for (int c = 0; c < cols; ++c)
            outCodeword17(e, cluster[p->codewords[codePtr++]]);
        outCodeword17(e, cluster[right]);
        outStopPattern(e);
    }
    if (p->options & PDF417_INVERT_BITMAP) {
        for (int k = 0; k < p->lenBits; ++k)
            p->outBits[k] ^= 0xff;
    }
    return true;
}

void splitTextAndBytes(segmentList* list, const uint8_t* text, int start, int end)
{
    int k = start;
    while (k < end) {
        const bool isText = isTextByte(text[k]);
        int j = k + 1;
        while (j < end && isTextByte(text[j]) == isText)
            ++j;
        listAdd(list, isText ? 'T' : 'B', k, j);
        k = j;
    }
}

bool isShortByte(segmentList* list, int k)
{
    listElement* e = listGet(list, k);
    return checkElementType(e, 'B') && getElementLength(e) == 1;
}

// Each segment that `grows` takes in the neighbours it `absorbs`, the one before
// first; after any change the pass starts over.
template <class Grows, class Absorbs>
void absorbNeighbours(segmentList* list, Grows grows, Absorbs absorbs)
{
    for (int k = 0; k < list->size; ++k) {
        listElement* v = listGet(list, k);
        if (!grows(v))
            continue;
        bool changed = false;
        listElement* prev = listGet(list, k - 1);
        if (prev && absorbs(list, k - 1)) {
            v->start = prev->start;
            listRemove(list, k - 1);
            --k;
            changed = true;
        }
        v = listGet(list, k);
        listElement* next = listGet(list, k + 1);
        if (next && absorbs(list, k + 1)) {
            v->end = next->end;
            listRemove(list, k + 1);
            changed = true;
        }
        if (changed)
            k = -1;
    }
}

} // namespace

// ---- Segment list ----

void listInit(segmentList* l)
{
    l->capacity = 20;
    l->size = 0;
    l->list = static_cast<listElement*>(std::malloc(sizeof(listElement) * size_t(l->capacity)));
    if (!l->list)
        l->capacity = 0;
}

void listFree(segmentList* l)
{
    std::free(l->list);
    l->list = nullptr;
    l->size = l->capacity = 0;
}

bool listAdd(segmentList* l, char type, int start, int end)
{
    if (l->size == l->capacity) {
        const int cap = l->capacity ? l->capacity * 2 : 20;
        auto* grown = static_cast<listElement*>(std::realloc(l->list, sizeof(listElement) * size_t(cap)));
        if (!grown)
            return false;
        l->list = grown;
        l->capacity = cap;
    }
    l->list[l->size++] = listElement{type, start, end};
    return true;
}

listElement* listGet(segmentList* l, int idx)
{
    if (idx < 0 || idx >= l->size)
        return nullptr;
    return l->list + idx;
}

void listRemove(segmentList* l, int idx)
{
    if (idx < 0 || idx >= l->size)
        return;
    --l->size;
    std::memmove(l->list + idx, l->list + idx + 1, sizeof(listElement) * size_t(l->size - idx));
}

bool checkElementType(listElement* e, char type) { return e && e->type == type; }

int getElementLength(listElement* e) { return e ? e->end - e->start : 0; }

// ---- Segmentation ----

void breakString(const pdf417param* p, segmentList* list)
{
    const auto* text = reinterpret_cast<const uint8_t*>(p->text);
    const int len = p->lenText;
    int lastP = 0;
    int startN = 0;
    int nd = 0;
    for (int k = 0; k < len; ++k) {
        if (isDigit(text[k])) {
            if (nd == 0)
                startN = k;
            ++nd;
            continue;
        }
        if (nd >= 13) {
            splitTextAndBytes(list, text, lastP, startN);
            listAdd(list, 'N', startN, k);
            lastP = k;
        }
        nd = 0;
    }
    if (nd >= 13) {
        splitTextAndBytes(list, text, lastP, startN);
        listAdd(list, 'N', startN, len);
    } else {
        splitTextAndBytes(list, text, lastP, len);
    }

    // A single byte between two text runs goes into the text.
    for (int k = 0; k < list->size; ++k) {
        listElement* prev = listGet(list, k - 1);
        listElement* next = listGet(list, k + 1);
        if (isShortByte(list, k) && checkElementType(prev, 'T') && checkElementType(next, 'T')
            && getElementLength(prev) + getElementLength(next) >= 3) {
            prev->end = next->end;
            listRemove(list, k);
            listRemove(list, k);
            k = -1;
        }
    }
    // Long text absorbs neighbouring text and single bytes.
    absorbNeighbours(
        list, [](listElement* v) { return checkElementType(v, 'T') && getElementLength(v) >= 5; },
        [](segmentList* l, int j) { return checkElementType(listGet(l, j), 'T') || isShortByte(l, j); });
    // Bytes absorb neighbouring bytes and short text.
    absorbNeighbours(
        list, [](listElement* v) { return checkElementType(v, 'B'); },
        [](segmentList* l, int j) {
            listElement* n = listGet(l, j);
            return checkElementType(n, 'B') || (checkElementType(n, 'T') && getElementLength(n) < 5);
        });
    // Only digits: one numeric segment.
    if (list->size == 1) {
        listElement* v = listGet(list, 0);
        if (checkElementType(v, 'T') && getElementLength(v) >= 8) {
            bool digits = true;
            for (int k = v->start; k < v->end && digits; ++k)
                digits = isDigit(text[k]);
            if (digits)
                v->type = 'N';
        }
    }
}

int maxPossibleErrorLevel(int remain)
{
    for (int level = 8; level > 0; --level) {
        if ((2 << level) <= remain)
            return level;
    }
    return 0;
}

// ---- Record ----

void pdf417init(pdf417param* p)
{
    p->options = 0;
    p->outBits = nullptr;
    p->lenBits = 0;
    p->error = 0;
    p->lenText = -1;
    p->text = "";
    p->yHeight = 3.0f;
    p->aspectRatio = 0.5f;
}

void pdf417free(pdf417param* p)
{
    std::free(p->outBits);
    p->outBits = nullptr;
}

void paintCode(pdf417param* p)
{
    Encoder e{p};
    p->error = 0;
    if (p->options & PDF417_USE_RAW_CODEWORDS) {
        if (p->lenCodewords > MAX_DATA_CODEWORDS || p->lenCodewords < 1 || p->codewords[0] != p->lenCodewords) {
            p->error = PDF417_ERROR_INVALID_PARAMS;
            return;
        }
        for (int k = 1; k < p->lenCodewords; ++k) {
            if (p->codewords[k] < 0 || p->codewords[k] >= PDF417_MOD) {
                p->error = PDF417_ERROR_INVALID_PARAMS;
                return;
            }
        }
    } else {
        if (!p->text) {
            p->text = "";
            p->lenText = 0;
        }
        if (p->lenText < 0)
            p->lenText = int(std::strlen(p->text) > size_t(MAX_TEXT) ? MAX_TEXT + 1 : std::strlen(p->text));
        if (p->lenText > MAX_TEXT) {
            p->error = PDF417_ERROR_TEXT_TOO_BIG;
            return;
        }
        segmentList list;
        listInit(&list);
        breakString(p, &list);
        assemble(e, &list);
        listFree(&list);
        if (p->error)
            return;
        p->codewords[0] = p->lenCodewords = e.cwPtr;
    }

    const int maxErr = maxPossibleErrorLevel(MAX_CODEWORDS - p->lenCodewords);
    if (!(p->options & PDF417_USE_ERROR_LEVEL)) {
        if (p->lenCodewords < 41)
            p->errorLevel = 2;
        else if (p->lenCodewords < 161)
            p->errorLevel = 3;
        else if (p->lenCodewords < 321)
            p->errorLevel = 4;
        else
            p->errorLevel = 5;
    }
    if (p->errorLevel < 0)
        p->errorLevel = 0;
    else if (p->errorLevel > maxErr)
        p->errorLevel = maxErr;

    if (p->codeColumns < 1)
        p->codeColumns = 1;
    else if (p->codeColumns > 30)
        p->codeColumns = 30;
    if (p->codeRows < 3)
        p->codeRows = 3;
    else if (p->codeRows > 90)
        p->codeRows = 90;
    int lenErr = 2 << p->errorLevel;
    int tot = p->lenCodewords + lenErr;
    const bool fixedRows = p->options & PDF417_FIXED_ROWS;
    bool keep = false;
    if (p->options & PDF417_FIXED_RECTANGLE) {
        tot = p->codeColumns * p->codeRows;
        if (tot > MAX_CODEWORDS) {
            getMaxSquare(p);
            tot = MAX_CODEWORDS;
        }
        if (tot < p->lenCodewords + lenErr)
            tot = p->lenCodewords + lenErr;
        else
            keep = true;
    } else if (!(p->options & (PDF417_FIXED_COLUMNS | PDF417_FIXED_ROWS))) {
        float ratio = p->aspectRatio;
        if (!(ratio >= 0.001f))
            ratio = 0.001f;
        else if (ratio > 1000.0f)
            ratio = 1000.0f;
        p->aspectRatio = ratio;
        if (!(p->yHeight > 0.0f) || !std::isfinite(p->yHeight)) {
            p->error = PDF417_ERROR_INVALID_PARAMS;
            return;
        }
        const float b = 73.0f * ratio - 4.0f;
        const float q = 68.0f * ratio * float(tot) * p->yHeight;
        const float d = 34.0f * ratio;
        double c = (-double(b) + std::sqrt(double(b) * double(b) + double(q))) / double(d);
        if (!std::isfinite(c))
            c = 1.0;
        c += 0.5;
        if (c < 1.0)
            c = 1.0;
        else if (c > 30.0)
            c = 30.0;
        p->codeColumns = int(c);
    }
    if (!keep) {
        if (!fixedRows) {
            p->codeRows = (tot - 1) / p->codeColumns + 1;
            if (p->codeRows < 3)
                p->codeRows = 3;
            else if (p->codeRows > 90) {
                p->codeRows = 90;
                p->codeColumns = (tot - 1) / 90 + 1;
            }
        } else {
            p->codeColumns = (tot - 1) / p->codeRows + 1;
            if (p->codeColumns > 30) {
                p->codeColumns = 30;
                p->codeRows = (tot - 1) / 30 + 1;
            }
        }
        tot = p->codeRows * p->codeColumns;
    }
    if (tot > MAX_CODEWORDS) {
        getMaxSquare(p);
        tot = MAX_CODEWORDS;
    }

    p->errorLevel = maxPossibleErrorLevel(tot - p->lenCodewords);
    lenErr = 2 << p->errorLevel;
    const int pad = tot - lenErr;
    for (int k = p->lenCodewords; k < pad; ++k)
        p->codewords[k] = PAD;
    p->codewords[0] = p->lenCodewords = pad;
    calculateErrorCorrection(e, pad);
    p->lenCodewords = tot;
    if (!outPaintCode(e))
        p->error = PDF417_ERROR_INVALID_PARAMS;
}

} // namespace pdf417
