// A folder that has no place in the chain.
#pragma once
