// The numeric settings: type, key (as stored), accessor, setter, default.
// Listed in the order the settings record reads them; the three lists are
// read with the image folders after the first and the messages and colour
// weights after the second. Include with QV_SETTING defined.

#define QV_SETTINGS_IMAGES                                    \
    QV_SETTING(int, ImageNext, imageNext, setImageNext, 0)    \
    QV_SETTING(int, ImageOrder, imageOrder, setImageOrder, 0) \
    QV_SETTING(int, ImagePause, imagePause, setImagePause, 2) \
    QV_SETTING(int, ImagePeriod, imagePeriod, setImagePeriod, 60)

#define QV_SETTINGS_MAIN                                                                           \
    QV_SETTING(bool, UseAnimation, useAnimation, setUseAnimation, false)                           \
    QV_SETTING(bool, AnimatePause, animatePause, setAnimatePause, true)                            \
    QV_SETTING(int, Speed, speed, setSpeed, 5)                                                     \
    QV_SETTING(int, DelayBetweenDrawings, delayBetweenDrawings, setDelayBetweenDrawings, 1)        \
    QV_SETTING(int, MinTime, minTime, setMinTime, 10)                                              \
    QV_SETTING(int, MaxTime, maxTime, setMaxTime, 75)                                              \
    QV_SETTING(int, BlankScreen, blankScreen, setBlankScreen, 0)                                   \
    QV_SETTING(int, BlankMinutes, blankMinutes, setBlankMinutes, 60)                               \
    QV_SETTING(bool, IgnoreMouse, ignoreMouse, setIgnoreMouse, false)                              \
    QV_SETTING(int, Animation, animation, setAnimation, 10)                                        \
    QV_SETTING(int, AnimationSpeed, animationSpeed, setAnimationSpeed, 50)                         \
    QV_SETTING(int, StyleSolid, styleSolid, setStyleSolid, 80)                                     \
    QV_SETTING(int, StyleDots, styleDots, setStyleDots, 5)                                         \
    QV_SETTING(int, StyleLines, styleLines, setStyleLines, 10)                                     \
    QV_SETTING(int, StyleDistort, styleDistort, setStyleDistort, 75)                               \
    QV_SETTING(int, StyleBitmap, styleBitmap, setStyleBitmap, 30)                                  \
    QV_SETTING(int, StyleText, styleText, setStyleText, 10)                                        \
    QV_SETTING(int, Style3D, style3D, setStyle3D, 10)                                              \
    QV_SETTING(int, StyleOverlappingShapes, styleOverlappingShapes, setStyleOverlappingShapes, 10) \
    QV_SETTING(int, SingleDot, singleDot, setSingleDot, 25)                                        \
    QV_SETTING(int, TextMessages, textMessages, setTextMessages, 50)                               \
    QV_SETTING(int, TextChar, textChar, setTextChar, 50)                                           \
    QV_SETTING(int, TextDateTime, textDateTime, setTextDateTime, 50)                               \
    QV_SETTING(int, TextRandom, textRandom, setTextRandom, 20)                                     \
    QV_SETTING(int, QuorSpel, quorSpel, setQuorSpel, 0)                                            \
    QV_SETTING(int, LayoutFullScreen, layoutFullScreen, setLayoutFullScreen, 50)                   \
    QV_SETTING(int, LayoutEven, layoutEven, setLayoutEven, 80)                                     \
    QV_SETTING(int, LayoutBar, layoutBar, setLayoutBar, 50)                                        \
    QV_SETTING(int, LayoutLimn, layoutLimn, setLayoutLimn, 1)                                      \
    QV_SETTING(int, LayoutRect, layoutRect, setLayoutRect, 80)                                     \
    QV_SETTING(int, LayoutCircle, layoutCircle, setLayoutCircle, 10)                               \
    QV_SETTING(int, LayoutTriangle, layoutTriangle, setLayoutTriangle, 3)                          \
    QV_SETTING(int, LayoutSlant, layoutSlant, setLayoutSlant, 5)                                   \
    QV_SETTING(int, LayoutWavy, layoutWavy, setLayoutWavy, 1)                                      \
    QV_SETTING(int, SectionFull, sectionFull, setSectionFull, 70)                                  \
    QV_SETTING(int, SectionCentred, sectionCentred, setSectionCentred, 20)                         \
    QV_SETTING(int, SectionRandom, sectionRandom, setSectionRandom, 5)                             \
    QV_SETTING(int, LayoutShrinkRandom, layoutShrinkRandom, setLayoutShrinkRandom, 10)             \
    QV_SETTING(int, LayoutShrinkEven, layoutShrinkEven, setLayoutShrinkEven, 10)                   \
    QV_SETTING(int, LayoutCheckered, layoutCheckered, setLayoutCheckered, 10)                      \
    QV_SETTING(int, LayoutSymmetric, layoutSymmetric, setLayoutSymmetric, 80)                      \
    QV_SETTING(int, Colors256Change, colors256Change, setColors256Change, 60)                      \
    QV_SETTING(int, ColorsFullChange, colorsFullChange, setColorsFullChange, 120)

#define QV_SETTINGS_COLOURS                              \
    QV_SETTING(int, UseBlack, useBlack, setUseBlack, 10) \
    QV_SETTING(int, UseWhite, useWhite, setUseWhite, 15)

#define QV_SETTINGS_ALL QV_SETTINGS_IMAGES QV_SETTINGS_MAIN QV_SETTINGS_COLOURS
