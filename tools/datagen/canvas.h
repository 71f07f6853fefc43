#pragma once
#include <cstdint>
#include <vector>

// A colour with channels in 0..1 (values above 1 are allowed while painting
// and are clamped when the canvas is quantised).
struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb operator+(Rgb a, Rgb b);
Rgb operator*(Rgb a, double k);
Rgb mix(Rgb a, Rgb b, double t);  // a at t = 0, b at t = 1
Rgb hexColour(uint32_t rrggbb);

// A picture being painted: double-precision RGB, row by row from the top.
class Canvas {
public:
    Canvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    Rgb& at(int x, int y) { return pixels_[index(x, y)]; }
    const Rgb& at(int x, int y) const { return pixels_[index(x, y)]; }

    void add(int x, int y, Rgb colour);               // additive, ignored off the canvas
    void blend(int x, int y, Rgb colour, double alpha);  // alpha 0..1, ignored off the canvas

    // 8-bit red, green, blue per pixel, each channel clamped and rounded.
    std::vector<uint8_t> toRgb8() const;

private:
    int index(int x, int y) const { return x + y * width_; }
    int width_, height_;
    std::vector<Rgb> pixels_;
};

// A coverage or intensity value per pixel, used to build masks and glows.
class Layer {
public:
    Layer(int width, int height) : width_(width), height_(height), values_(width * height, 0.0) {}
    int width() const { return width_; }
    int height() const { return height_; }
    double& at(int x, int y) { return values_[x + y * width_]; }
    double at(int x, int y) const { return values_[x + y * width_]; }
    void raise(int x, int y, double value);  // keeps the larger value, ignored off the layer

private:
    int width_, height_;
    std::vector<double> values_;
};

double clamp01(double v);
double smoothstep(double edge0, double edge1, double v);
