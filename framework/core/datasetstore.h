#pragma once

class DataSetStore {};
