#include "figures/svg_writer.hpp"

#include <cmath>
#include <cstdio>

#include "figures/colour.hpp"

namespace el::figures {
namespace {

std::string num(double v) {
    if (!std::isfinite(v)) v = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    std::string s = text;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string strokeAttributes(const std::optional<Stroke>& stroke) {
    if (!stroke) return " stroke=\"none\"";
    std::string a = " stroke=\"" + hexText(stroke->color) + "\" stroke-width=\"" + num(stroke->width) + "\"";
    if (stroke->dash == Dash::Dashed) a += " stroke-dasharray=\"" + num(stroke->width * 3) + "," + num(stroke->width * 2) + "\"";
    if (stroke->dash == Dash::Dotted) a += " stroke-dasharray=\"1.5,2.5\"";
    return a;
}

std::string tipElement(const std::string& tip) {
    return tip.empty() ? std::string() : "<title>" + xmlEscaped(tip) + "</title>";
}

void writeShape(std::string& out, const Shape& s) {
    std::string d;
    for (const auto& ring : s.rings) {
        for (std::size_t i = 0; i < ring.size(); ++i)
            d += (i == 0 ? "M" : "L") + num(ring[i].x) + " " + num(ring[i].y) + " ";
        if (s.closed && !ring.empty()) d += "Z ";
    }
    if (d.empty()) return;
    d.pop_back();
    const std::string fill = s.fill && s.closed ? hexText(*s.fill) : std::string("none");
    out += "<path d=\"" + d + "\" fill=\"" + fill + "\" fill-rule=\"evenodd\"" + strokeAttributes(s.stroke);
    if (s.region >= 0) out += " data-region=\"" + std::to_string(s.region) + "\"";
    out += ">" + tipElement(s.tip) + "</path>\n";
    if (s.hatched && s.closed)
        out += "<path d=\"" + d + "\" fill=\"url(#hatch)\" fill-rule=\"evenodd\" stroke=\"none\"/>\n";
}

void writeMarker(std::string& out, const Marker& m) {
    const double r = m.size / 2;
    const std::string fill = m.fill ? hexText(*m.fill) : std::string("none");
    const std::string common = " fill=\"" + fill + "\"" + strokeAttributes(m.stroke) +
                               (m.region >= 0 ? " data-region=\"" + std::to_string(m.region) + "\"" : "") + ">" +
                               tipElement(m.tip);
    switch (m.kind) {
    case MarkerKind::Circle:
        out += "<circle cx=\"" + num(m.at.x) + "\" cy=\"" + num(m.at.y) + "\" r=\"" + num(r) + "\"" + common + "</circle>\n";
        break;
    case MarkerKind::Square:
        out += "<rect x=\"" + num(m.at.x - r) + "\" y=\"" + num(m.at.y - r) + "\" width=\"" + num(m.size) +
               "\" height=\"" + num(m.size) + "\"" + common + "</rect>\n";
        break;
    case MarkerKind::Triangle:
        out += "<path d=\"M" + num(m.at.x) + " " + num(m.at.y - r) + " L" + num(m.at.x + r) + " " + num(m.at.y + r) +
               " L" + num(m.at.x - r) + " " + num(m.at.y + r) + " Z\"" + common + "</path>\n";
        break;
    case MarkerKind::Cross:
        out += "<path d=\"M" + num(m.at.x - r) + " " + num(m.at.y - r) + " L" + num(m.at.x + r) + " " + num(m.at.y + r) +
               " M" + num(m.at.x - r) + " " + num(m.at.y + r) + " L" + num(m.at.x + r) + " " + num(m.at.y - r) + "\"" +
               common + "</path>\n";
        break;
    }
}

void writeLabel(std::string& out, const Label& l) {
    const char* anchor = l.anchor == TextAnchor::Start ? "start" : l.anchor == TextAnchor::Middle ? "middle" : "end";
    out += "<text x=\"" + num(l.at.x) + "\" y=\"" + num(l.at.y) + "\" font-size=\"" + num(l.size) +
           "\" text-anchor=\"" + anchor + "\" fill=\"" + hexText(l.color) + "\"";
    if (l.vertical) out += " transform=\"rotate(-90 " + num(l.at.x) + " " + num(l.at.y) + ")\"";
    out += ">" + xmlEscaped(l.text) + "</text>\n";
}

void writeLayer(std::string& out, const Layer& layer, const char* id) {
    out += std::string("<g id=\"") + id + "\">\n";
    for (const auto& s : layer.shapes) writeShape(out, s);
    for (const auto& m : layer.markers) writeMarker(out, m);
    for (const auto& l : layer.labels) writeLabel(out, l);
    out += "</g>\n";
}

}  // namespace

std::string xmlEscaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default:
            // Control characters are not allowed in XML 1.0; a line break in a tip stays.
            if (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t') out += ' ';
            else out += c;
        }
    }
    return out;
}

std::string toSvg(const Scene& scene) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + num(scene.width) + "\" height=\"" +
           num(scene.height) + "\" viewBox=\"0 0 " + num(scene.width) + " " + num(scene.height) +
           "\" font-family=\"DejaVu Sans, Arial, sans-serif\">\n";
    out += "<defs><pattern id=\"hatch\" width=\"6\" height=\"6\" patternUnits=\"userSpaceOnUse\" "
           "patternTransform=\"rotate(45)\"><line x1=\"0\" y1=\"0\" x2=\"0\" y2=\"6\" stroke=\"#505050\" "
           "stroke-width=\"1\"/></pattern></defs>\n";
    out += "<rect width=\"100%\" height=\"100%\" fill=\"" + hexText(scene.background) + "\"/>\n";
    writeLayer(out, scene.content, "content");
    writeLayer(out, scene.overlay, "overlay");
    out += "</svg>\n";
    return out;
}

}  // namespace el::figures
