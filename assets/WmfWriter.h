// Writes placeable Windows metafiles record by record: the program's pages are made with it, and
// the tests make their small hand-made files with it.
#pragma once
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

class WmfWriter {
public:
    // A picture of width by height logical units, `perInch` of them to the inch (1440: twips).
    WmfWriter(int width, int height, int perInch = 1440) : m_width(width), m_height(height), m_perInch(perInch) {}

    static uint32_t rgb(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }

    // One record of any function from its parameter words.
    void record(uint16_t function, const std::vector<int16_t>& params) {
        put32(m_records, uint32_t(3 + params.size()));
        put16(m_records, function);
        for (int16_t p : params) put16(m_records, uint16_t(p));
        m_maxRecord = std::max<uint32_t>(m_maxRecord, uint32_t(3 + params.size()));
        ++m_count;
    }
    // A record whose parameters end in raw bytes (text, a bitmap), padded to whole words.
    void record(uint16_t function, std::vector<int16_t> params, const std::string& bytes,
                const std::vector<int16_t>& after = {}) {
        for (size_t i = 0; i < bytes.size(); i += 2)
            params.push_back(int16_t(uint8_t(bytes[i]) | (i + 1 < bytes.size() ? uint8_t(bytes[i + 1]) : 0) << 8));
        params.insert(params.end(), after.begin(), after.end());
        record(function, params);
    }

    void windowOrg(int x, int y) { record(0x020B, {int16_t(y), int16_t(x)}); }
    void windowExt(int w, int h) { record(0x020C, {int16_t(h), int16_t(w)}); }
    void mapMode(int mode) { record(0x0103, {int16_t(mode)}); }
    void bkMode(int mode) { record(0x0102, {int16_t(mode)}); }
    void textAlign(int align) { record(0x012E, {int16_t(align)}); }
    void textColour(uint32_t c) { record(0x0209, lohi(c)); }
    void bkColour(uint32_t c) { record(0x0201, lohi(c)); }

    int pen(int style, int width, uint32_t colour) {
        auto p = lohi(colour);
        record(0x02FA, {int16_t(style), int16_t(width), 0, p[0], p[1]});
        return take();
    }
    int brush(int style, uint32_t colour, int hatch = 0) {
        auto p = lohi(colour);
        record(0x02FC, {int16_t(style), p[0], p[1], int16_t(hatch)});
        return take();
    }
    // A font: a negative height is the em size; weight 400 normal, 700 bold; charset 0 Western, 161 Greek.
    int font(int height, int weight, const std::string& face, bool italic = false, int charset = 0) {
        std::string name = face.substr(0, 31);
        name.resize(32, '\0');
        record(0x02FB, {int16_t(height), 0, 0, 0, int16_t(weight), int16_t(italic ? 1 : 0), int16_t(charset << 8), 0, 0},
               name);
        return take();
    }
    void select(int object) { record(0x012D, {int16_t(object)}); }
    void remove(int object) {
        record(0x01F0, {int16_t(object)});
        if (object >= 0 && object < int(m_used.size())) m_used[size_t(object)] = false;
    }

    void rectangle(int l, int t, int r, int b) { record(0x041B, {int16_t(b), int16_t(r), int16_t(t), int16_t(l)}); }
    void roundRect(int l, int t, int r, int b, int w, int h) {
        record(0x061C, {int16_t(h), int16_t(w), int16_t(b), int16_t(r), int16_t(t), int16_t(l)});
    }
    void ellipse(int l, int t, int r, int b) { record(0x0418, {int16_t(b), int16_t(r), int16_t(t), int16_t(l)}); }
    void moveTo(int x, int y) { record(0x0214, {int16_t(y), int16_t(x)}); }
    void lineTo(int x, int y) { record(0x0213, {int16_t(y), int16_t(x)}); }
    void polygon(const std::vector<std::pair<int, int>>& points) { record(0x0324, pointList(points)); }
    void polyline(const std::vector<std::pair<int, int>>& points) { record(0x0325, pointList(points)); }
    // Text in the selected font's code page, its reference point at (x, y) as the text alignment says.
    void text(int x, int y, const std::string& bytes) {
        record(0x0521, {int16_t(bytes.size())}, bytes, {int16_t(y), int16_t(x)});
    }
    // Extended text with a spacing array (one advance per byte) when given.
    void extText(int x, int y, const std::string& bytes, const std::vector<int16_t>& dx = {}) {
        record(0x0A32, {int16_t(y), int16_t(x), int16_t(bytes.size()), 0}, bytes, dx);
    }

    // A bitmap of w x h pixels of `bits` bits each, bottom row first, stretched into a rectangle:
    // `palette` as 0x00RRGGBB entries, `pixels` the rows as stored (each padded to whole words).
    void stretchDib(int w, int h, int bits, const std::vector<uint32_t>& palette, const std::string& pixels,
                    int left, int top, int width, int height) {
        std::string dib;
        const auto put32 = [&dib](uint32_t v) {
            for (int i = 0; i < 4; ++i) dib += char((v >> (8 * i)) & 0xFF);
        };
        for (uint32_t v : {40u, uint32_t(w), uint32_t(h)}) put32(v);
        put32(1u | uint32_t(bits) << 16);  // planes, bits per pixel
        for (int i = 0; i < 6; ++i) put32(0);
        for (uint32_t c : palette) put32(c);
        // SRCCOPY as two words, then usage, source and destination.
        record(0x0F43, {0x0020, 0x00CC, 0, int16_t(h), int16_t(w), 0, 0, int16_t(height), int16_t(width), int16_t(top),
                        int16_t(left)}, dib + pixels);
    }

    // The whole file: placeable header, metafile header, the records, the end record.
    std::string bytes() const {
        std::string out;
        put32(out, 0x9AC6CDD7u);
        put16(out, 0);
        for (int v : {0, 0, m_width, m_height}) put16(out, uint16_t(int16_t(v)));
        put16(out, uint16_t(m_perInch));
        put32(out, 0);
        uint16_t sum = 0;
        for (size_t i = 0; i < 20; i += 2) sum ^= uint16_t(uint8_t(out[i]) | uint8_t(out[i + 1]) << 8);
        put16(out, sum);
        const uint32_t words = uint32_t(9 + m_records.size() / 2 + 3);
        put16(out, 1);
        put16(out, 9);
        put16(out, 0x0300);
        put32(out, words);
        put16(out, uint16_t(m_used.size()));
        put32(out, std::max<uint32_t>(m_maxRecord, 3));
        put16(out, 0);
        out += m_records;
        put32(out, 3);
        put16(out, 0);
        return out;
    }

private:
    static std::vector<int16_t> lohi(uint32_t v) { return {int16_t(v & 0xFFFF), int16_t(v >> 16)}; }
    static std::vector<int16_t> pointList(const std::vector<std::pair<int, int>>& points) {
        std::vector<int16_t> p{int16_t(points.size())};
        for (auto [x, y] : points) {
            p.push_back(int16_t(x));
            p.push_back(int16_t(y));
        }
        return p;
    }
    static void put16(std::string& s, uint16_t v) {
        s += char(v & 0xFF);
        s += char(v >> 8);
    }
    static void put32(std::string& s, uint32_t v) {
        put16(s, uint16_t(v & 0xFFFF));
        put16(s, uint16_t(v >> 16));
    }
    // The slot a new object takes: the lowest free one, as the player assigns them.
    int take() {
        for (size_t i = 0; i < m_used.size(); ++i)
            if (!m_used[i]) {
                m_used[i] = true;
                return int(i);
            }
        m_used.push_back(true);
        return int(m_used.size() - 1);
    }

    int m_width, m_height, m_perInch;
    std::string m_records;
    std::vector<bool> m_used;
    uint32_t m_maxRecord = 3, m_count = 0;
};
