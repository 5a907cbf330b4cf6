#include "platform/pictures/PictureHeader.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace platform {

namespace {
int be16(const uchar* p) { return p[0] << 8 | p[1]; }
int le16(const uchar* p) { return p[0] | p[1] << 8; }
qint64 le32(const uchar* p) { return qint32(quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24); }

// What the JPEG reader Qt uses (libjpeg-turbo) spends, best of three on a desktop of the 2020s. A
// progressive picture is decoded scan by scan, each over every block of its components however
// little data it has; arithmetic coding costs ten to twenty times Huffman coding a byte.
constexpr double NsPerPixel = 2;        // the last pass: inverse transforms and colours
constexpr double NsPerBlockScan = 12;   // each 8 x 8 block of a component a scan covers
constexpr double NsPerByteHuffman = 8;  // coded data, a scan at a time
constexpr double NsPerByteProgressive = 45;
constexpr double NsPerByteArithmetic = 170;

bool isRestart(int marker) { return marker >= 0xD0 && marker <= 0xD7; }

// The marker segments are walked as the decoder walks them, once over the bytes: a segment is
// skipped by its length, a scan's coded data up to the next marker that is not a stuffed byte, a
// restart or one the decoder passes over (so a scan is counted wherever the decoder could find one).
PictureHeader jpeg(const uchar* b, qsizetype n) {
    struct Component {
        int id, h, v;
    };
    std::vector<Component> components;
    int width = 0, height = 0, hMax = 1, vMax = 1;
    bool frame = false, arithmetic = false, progressive = false;
    double blockScans = 0, coded = 0;
    const auto blocks = [&](const Component& c) {
        const double w = std::ceil(std::ceil(double(width) * c.h / hMax) / 8);
        return w * std::ceil(std::ceil(double(height) * c.v / vMax) / 8);
    };
    qsizetype i = 2;
    while (i < n) {
        if (b[i] != 0xFF) {  // stray bytes between segments, which the decoder skips too
            ++i;
            continue;
        }
        while (i < n && b[i] == 0xFF) ++i;
        if (i >= n) break;
        const int marker = b[i++];
        if (marker == 0xD9) break;                                  // the end of the picture
        if (marker < 0xC0 || (marker >= 0xD0 && marker <= 0xD8)) continue;  // no length follows
        if (i + 2 > n) break;
        const qsizetype length = be16(b + i);
        if (length < 2) return {"jpeg", {}, 0};
        const uchar* s = b + i + 2;
        const qsizetype have = std::min<qsizetype>(length - 2, n - i - 2);
        i += length;
        const bool sof = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (sof) {
            // One frame, of the kinds the decoder reads: sequential or progressive, Huffman or arithmetic.
            if (frame || !(marker == 0xC0 || marker == 0xC1 || marker == 0xC2 || marker == 0xC9 || marker == 0xCA))
                return {"jpeg", {}, 0};
            if (have < 6 || have < 6 + 3 * qsizetype(s[5]) || s[5] == 0) return {"jpeg", {}, 0};
            frame = true;
            arithmetic = marker >= 0xC9;
            progressive = marker == 0xC2 || marker == 0xCA;
            height = be16(s + 1);
            width = be16(s + 3);
            for (int k = 0; k < s[5]; ++k) {
                const Component c{s[6 + 3 * k], s[7 + 3 * k] >> 4, s[7 + 3 * k] & 15};
                if (c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4) return {"jpeg", {}, 0};
                hMax = std::max(hMax, c.h);
                vMax = std::max(vMax, c.v);
                components.push_back(c);
            }
        } else if (marker == 0xDA) {
            if (!frame || have < 1) return {"jpeg", {}, 0};
            for (int k = 0; k < s[0] && 1 + 2 * k < have; ++k) {
                const auto c = std::find_if(components.begin(), components.end(), [&](const Component& c) { return c.id == s[1 + 2 * k]; });
                blockScans += c != components.end() ? blocks(*c) : double(width) * height / 64;
            }
            const qsizetype start = std::min(i, n);
            i = start;
            while (i + 1 < n && !(b[i] == 0xFF && b[i + 1] >= 0xC0 && !isRestart(b[i + 1]) && b[i + 1] != 0xFF)) ++i;
            if (i + 1 >= n) i = n;
            coded += double(i - start);
        }
    }
    // A height given only after the data (a DNL marker) is not read by the decoder.
    if (!frame || width == 0 || height == 0) return {"jpeg", {}, 0};
    const double perByte = arithmetic ? NsPerByteArithmetic : progressive ? NsPerByteProgressive : NsPerByteHuffman;
    return {"jpeg", QSize(width, height), (double(width) * height * NsPerPixel + blockScans * NsPerBlockScan + coded * perByte) / 1e6};
}

// As Qt's GIF reader makes its picture: the size of the logical screen, or where the screen gives
// none, the first frame's extent (its own size() is not that: it may give the frame's size alone).
PictureHeader gif(const uchar* b, qsizetype n) {
    if (n < 13) return {"gif", {}, 0};
    const int screenWidth = le16(b + 6), screenHeight = le16(b + 8);
    qsizetype i = 13 + (b[10] & 0x80 ? 3 << ((b[10] & 7) + 1) : 0);
    while (i < n) {
        const int introducer = b[i++];
        if (introducer == 0x21) {  // an extension: its label, then blocks each led by its length
            ++i;
            while (i < n && b[i] != 0) i += 1 + b[i];
            ++i;
        } else if (introducer == 0x2C && i + 8 <= n) {
            const int left = le16(b + i), top = le16(b + i + 2), w = le16(b + i + 4), h = le16(b + i + 6);
            return {"gif", QSize(screenWidth > 0 ? screenWidth : left + w, screenHeight > 0 ? screenHeight : top + h), 0};
        } else {
            break;
        }
    }
    return {"gif", {}, 0};  // no picture in it
}

PictureHeader bmp(const uchar* b, qsizetype n) {
    if (n < 26) return {"bmp", {}, 0};
    const qint64 header = le32(b + 14);
    const qint64 w = header == 12 ? le16(b + 18) : le32(b + 18);
    const qint64 h = std::abs(header == 12 ? le16(b + 20) : le32(b + 22));  // below zero: stored top down
    if (w <= 0 || h == 0 || w > INT_MAX || h > INT_MAX) return {"bmp", {}, 0};
    return {"bmp", QSize(int(w), int(h)), 0};
}
}  // namespace

PictureHeader readPictureHeader(const QByteArray& bytes) {
    const auto* b = reinterpret_cast<const uchar*>(bytes.constData());
    if (bytes.startsWith("\xFF\xD8\xFF")) return jpeg(b, bytes.size());
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a")) return gif(b, bytes.size());
    if (bytes.startsWith("BM")) return bmp(b, bytes.size());
    return {};
}

}  // namespace platform
