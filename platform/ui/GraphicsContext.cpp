#include "platform/ui/GraphicsContext.h"

#include <cmath>
#include <cstdio>

namespace platform::ui {

namespace {

std::string num(double v) {
    if (std::fabs(v) < 0.0005) v = 0; // no "-0"
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3f", v);
    std::string s = buffer;
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

std::string rect(const Rect& r) {
    return num(r.x()) + " " + num(r.y()) + " " + num(r.width()) + " " + num(r.height());
}

std::string point(Point p) {
    return num(p.x) + " " + num(p.y);
}

std::string color(Color c) {
    return num(c.r) + "," + num(c.g) + "," + num(c.b) + "," + num(c.a);
}

std::string pathText(const Path& path) {
    Rect b = path.bounds();
    return "subpaths=" + std::to_string(path.subpaths().size()) + " bounds=" + rect(b);
}

const char* alignmentName(TextAlignment alignment) {
    switch (alignment) {
    case TextAlignment::Left:
        return "left";
    case TextAlignment::Center:
        return "center";
    case TextAlignment::Right:
        return "right";
    }
    return "left";
}

} // namespace

std::string RecordingContext::text() const {
    std::string out;
    for (const std::string& line : lines_) {
        if (!out.empty()) out += '\n';
        out += line;
    }
    return out;
}

std::vector<std::string> RecordingContext::linesStartingWith(const std::string& command) const {
    std::vector<std::string> out;
    for (const std::string& line : lines_)
        if (line.compare(0, command.size(), command) == 0) out.push_back(line);
    return out;
}

void RecordingContext::add(std::string line) {
    lines_.push_back(std::move(line));
}

void RecordingContext::save() {
    add("save");
}
void RecordingContext::restore() {
    add("restore");
}
void RecordingContext::translate(double x, double y) {
    add("translate " + num(x) + " " + num(y));
}
void RecordingContext::concat(const AffineTransform& t) {
    add("concat " + num(t.a) + " " + num(t.b) + " " + num(t.c) + " " + num(t.d) + " " + num(t.tx) + " " + num(t.ty));
}
void RecordingContext::setAlpha(double alpha) {
    add("setAlpha " + num(alpha));
}
void RecordingContext::clipToRect(const Rect& r) {
    add("clipToRect " + rect(r));
}
void RecordingContext::clipToPath(const Path& path) {
    add("clipToPath " + pathText(path));
}
void RecordingContext::setFillColor(Color c) {
    add("setFillColor " + color(c));
}
void RecordingContext::setStrokeColor(Color c) {
    add("setStrokeColor " + color(c));
}
void RecordingContext::setLineWidth(double width) {
    add("setLineWidth " + num(width));
}
void RecordingContext::fillRect(const Rect& r) {
    add("fillRect " + rect(r));
}
void RecordingContext::strokeRect(const Rect& r) {
    add("strokeRect " + rect(r));
}
void RecordingContext::fillPath(const Path& path) {
    add("fillPath " + pathText(path));
}
void RecordingContext::strokePath(const Path& path) {
    add("strokePath " + pathText(path));
}
void RecordingContext::drawLine(Point from, Point to) {
    add("drawLine " + point(from) + " " + point(to));
}

void RecordingContext::drawText(const std::string& text, const Rect& r, const Font& font, Color c,
                                TextAlignment alignment, int maxLines) {
    add("drawText \"" + text + "\" " + rect(r) + " size=" + num(font.size()) + (font.bold() ? " bold" : "") +
        " color=" + color(c) + " " + alignmentName(alignment) + " lines=" + std::to_string(maxLines));
}

void RecordingContext::drawTextAt(const std::string& text, Point p, const Font& font, Color c) {
    add("drawTextAt \"" + text + "\" " + point(p) + " size=" + num(font.size()) + (font.bold() ? " bold" : "") +
        " color=" + color(c));
}

void RecordingContext::drawImage(const ImagePtr& image, const Rect& r) {
    std::string name = !image ? "(none)" : image->name().empty() ? "(image)" : image->name();
    add("drawImage " + name + " " + rect(r));
}

void RecordingContext::drawRadialGradient(Point center, double radius, Color inner, Color outer) {
    add("drawRadialGradient " + point(center) + " " + num(radius) + " " + color(inner) + " " + color(outer));
}

void RecordingContext::clear(const Rect& r) {
    add("clear " + rect(r));
}

} // namespace platform::ui
