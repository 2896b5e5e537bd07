# Checks of the shipped 32-bit product itself; they need no Wine.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME product_pe32
    COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/check_product.sh $<TARGET_FILE:mirane_scr> 307200)
  set_tests_properties(product_pe32 PROPERTIES LABELS product TIMEOUT 60)
endif()
