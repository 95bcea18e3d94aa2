// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Processor features the effects depend on.
namespace CpuFeatures {

// Whether the processor has the MMX instruction set, which the roll's band shading needs.
// Off x86 the shading uses portable code, so it counts as present.
bool hasMmx();

// Vector units the band shading can use where present; false off x86.
bool hasSse2();
bool hasAvx2();

} // namespace CpuFeatures
