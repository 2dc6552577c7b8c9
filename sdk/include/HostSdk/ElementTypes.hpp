// The host's element type enumeration. Elements are identified by a type and a per-type
// index from 1; only windows, doors, objects and lamps carry a library-part index.
#pragma once

#include <cstdint>

enum API_ElemTypeID : std::int32_t {};

namespace HostSdk::ElementTypes {
inline constexpr API_ElemTypeID Zombie {0};
inline constexpr API_ElemTypeID Wall {1};
inline constexpr API_ElemTypeID Column {2};
inline constexpr API_ElemTypeID Beam {3};
inline constexpr API_ElemTypeID Window {4};
inline constexpr API_ElemTypeID Door {5};
inline constexpr API_ElemTypeID Object {6};
inline constexpr API_ElemTypeID Lamp {7};
inline constexpr API_ElemTypeID Slab {8};
inline constexpr API_ElemTypeID Roof {9};
inline constexpr API_ElemTypeID Mesh {10};
inline constexpr API_ElemTypeID Dimension {11};
inline constexpr API_ElemTypeID RadialDimension {12};
inline constexpr API_ElemTypeID LevelDimension {13};
inline constexpr API_ElemTypeID AngleDimension {14};
inline constexpr API_ElemTypeID Text {15};
inline constexpr API_ElemTypeID Label {16};
inline constexpr API_ElemTypeID Zone {17};
inline constexpr API_ElemTypeID Hatch {18};
inline constexpr API_ElemTypeID Line {19};
inline constexpr API_ElemTypeID Polyline {20};
inline constexpr API_ElemTypeID Arc {21};
inline constexpr API_ElemTypeID Circle {22};
inline constexpr API_ElemTypeID Spline {23};
inline constexpr API_ElemTypeID Hotspot {24};
inline constexpr API_ElemTypeID Cutplane {25};
inline constexpr API_ElemTypeID Camera {26};
inline constexpr API_ElemTypeID CameraSet {27};
inline constexpr API_ElemTypeID Group {28};
inline constexpr API_ElemTypeID SectionElement {29};
inline constexpr API_ElemTypeID PlacedDrawing {30};
inline constexpr API_ElemTypeID Picture {31};
inline constexpr API_ElemTypeID DetailDrawing {32};
inline constexpr API_ElemTypeID Stair {33};
inline constexpr int Count = 34;
} // namespace HostSdk::ElementTypes
