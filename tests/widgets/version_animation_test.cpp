#include "widgets/version_animation.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tavrin {
namespace {

TEST(VersionLine, JoinsThePiecesWithoutSeparators) {
  EXPECT_EQ(VersionLine("v1.00A", "2019-0823", "2019-0426"),
            "Version v1.00A  Build:2019-0823, Since:2019-0426");
}

TEST(AnimationStep, WaitsAHundredMillisecondsBetweenSteps) {
  EXPECT_EQ(AnimationStep(1099, 1000).kind, TAnimationStep::Wait);
  EXPECT_EQ(AnimationStep(1100, 1000).kind, TAnimationStep::Step);
  EXPECT_EQ(AnimationStep(100, 0).kind, TAnimationStep::Step) << "the first tick after start";
  EXPECT_EQ(AnimationStep(50, 0).kind, TAnimationStep::Wait);
  // The gate is unsigned: a last tick near the wrap makes the sum small.
  EXPECT_EQ(AnimationStep(200, 0xFFFFFFF0u).kind, TAnimationStep::Step);
}

TEST(AnimationStep, SkipsWhereSinIsNearZero) {
  for (uint32_t t : {15000u, 15750u, 16500u, 17250u}) {
    EXPECT_EQ(AnimationStep(t, 0).kind, TAnimationStep::Skip) << t;
  }
  EXPECT_EQ(AnimationStep(15001, 0).kind, TAnimationStep::Skip) << "sin(2π/1500) = 0.0042";
  EXPECT_EQ(AnimationStep(15002, 0).kind, TAnimationStep::Step) << "sin(4π/1500) = 0.0084";
  EXPECT_EQ(AnimationStep(15749, 0).kind, TAnimationStep::Skip);
  EXPECT_EQ(AnimationStep(15748, 0).kind, TAnimationStep::Step);
}

TEST(AnimationStep, InversionSwitchesEverySixSeconds) {
  EXPECT_TRUE(AnimationStep(100, 0).negative);
  EXPECT_TRUE(AnimationStep(5990, 0).negative);
  EXPECT_FALSE(AnimationStep(6002, 0).negative);
  EXPECT_FALSE(AnimationStep(11990, 0).negative);
  EXPECT_TRUE(AnimationStep(12002, 0).negative);
}

TEST(AnimationStep, NearlyIdentityHalfWayThroughTheSqueeze) {
  const TAnimationStep s = AnimationStep(3000 + 6000 * 3 + 375, 0);  // θ = π/2, φ ≈ π
  ASSERT_EQ(s.kind, TAnimationStep::Step);
  EXPECT_NEAR(s.matrix.m11, 1, 0.05);
  EXPECT_NEAR(s.matrix.m22, 1, 0.05);
  EXPECT_NEAR(s.matrix.m12, 0, 0.05);
  EXPECT_EQ(s.matrix.m12, s.matrix.m21);
}

TEST(AnimationStep, ThinSliverAtTheStartOfTheCycle) {
  // t mod 6000 = 375: θ = π/2 (axis vertical), φ = π/8.
  const TAnimationStep s = AnimationStep(6000 * 5 + 375, 0);
  ASSERT_EQ(s.kind, TAnimationStep::Step);
  const float cp = std::cos(float(M_PI) / 8) + 1, u = cp * cp + 1, r = std::sqrt(u);
  EXPECT_NEAR(s.matrix.m11, r, 1e-3);
  EXPECT_NEAR(s.matrix.m22, r * u * u * r, 0.05);
  EXPECT_NEAR(s.matrix.m12, 0, 1e-3);
}

}  // namespace
}  // namespace tavrin
