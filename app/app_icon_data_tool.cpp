// Build step: turns the PNG renderings of the icon into app_icon_data.cpp,
// their pixels in the very form Qt would convert them to when the program
// starts, so that the program neither decodes nor converts them.
//
//   app_icon_data_tool OUTPUT.cpp PNG...
#include <QImage>
#include <QImageReader>
#include <QString>

#include <cstdio>
#include <string>

int main(int argc, char* argv[]) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: app_icon_data_tool OUTPUT.cpp PNG...\n");
    return 2;
  }
  std::string out =
      "// Made by app_icon_data_tool from the icon's PNG renderings; not to be edited.\n"
      "#include \"app/app_icon_data.h\"\n\n#include <iterator>\n\n"
      "namespace velquist {\nnamespace {\n\n";
  std::string table = "const IconRendering kIconRenderings[] = {\n";
  for (int i = 2; i < argc; ++i) {
    QImageReader reader(QString::fromLocal8Bit(argv[i]), "png");
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull() || image.width() != image.height()) {
      std::fprintf(stderr, "app_icon_data_tool: %s is not a square PNG\n", argv[i]);
      return 1;
    }
    const std::string name = "kPixels" + std::to_string(i - 2);
    out += "constexpr std::uint32_t " + name + "[] = {";
    for (int y = 0; y < image.height(); ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      out += "\n   ";
      for (int x = 0; x < image.width(); ++x) {
        char pixel[16];
        std::snprintf(pixel, sizeof pixel, " 0x%08x,", static_cast<unsigned>(line[x]));
        out += pixel;
      }
    }
    out += "\n};\n\n";
    table += "    {" + std::to_string(image.width()) + ", " + name + "},\n";
  }
  out += "}  // namespace\n\n" + table + "};\n" +
         "const std::size_t kIconRenderingCount = std::size(kIconRenderings);\n\n"
         "}  // namespace velquist\n";
  std::FILE* file = std::fopen(argv[1], "wb");
  if (file == nullptr || std::fwrite(out.data(), 1, out.size(), file) != out.size() ||
      std::fclose(file) != 0) {
    std::fprintf(stderr, "app_icon_data_tool: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
