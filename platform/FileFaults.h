// Failures on demand for the file layer's steps, so tests can pull the stick or fill the disk
// at any step of a save. Only the test configuration has them; in the player a step fails
// only when the host says so.
#pragma once

namespace lorvenna {

// The steps of the file layer that a save takes. Open also counts the creation of a folder
// and of a temporary file; Flush is pushing a new file's bytes to the medium, Sync making its
// rename durable in the folder.
enum class FileStep { Open, Write, Flush, Sync, Rename, Close };
inline constexpr int kFileStepKinds = 6;

#ifdef LORVENNA_FILE_FAULTS
// From now on the n-th step (from 1) of that kind fails with the host error code; the step
// counts start again from zero. n = 0 only counts.
void failFileStep(FileStep step, int n, int code);
void clearFileFaults();
// Steps of each kind taken since the last failFileStep, and whether the failure came.
int fileStepsTaken(FileStep step);
bool fileFaultHappened();
// Asked by the file layer before each step: true, with errno set, when it must fail.
bool fileStepFails(FileStep step);
#else
inline bool fileStepFails(FileStep) {
    return false;
}
#endif

} // namespace lorvenna
