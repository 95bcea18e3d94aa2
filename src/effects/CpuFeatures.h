#pragma once

// Processor features the effects depend on.
namespace CpuFeatures {

// Whether the processor has the MMX instruction set, which the roll's band shading needs.
// Off x86 the shading uses portable code, so it counts as present.
bool hasMmx();

} // namespace CpuFeatures
