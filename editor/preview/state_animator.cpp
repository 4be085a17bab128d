#include "editor/preview/state_animator.h"

#include "graphics/image/image.h"
#include "ime_ui/windows/buttons/wnd_status_btn.h"

namespace {

// Frame delays are hundredths of a second.
const uint32_t c_msPerDelayUnit = 10;

}  // namespace

void StateAnimator::Reset()
{
    m_picture = -1;
    m_state = -1;
    m_stateStart = 0;
}

void StateAnimator::SetButton(t_wndStatusBtn* button, int pictureCount)
{
    if (button != m_button) {
        // A new button (the bar may have made its buttons again): the old one is gone or
        // no longer ours, and the new one shows its own choice until the next step.
        m_button = button;
        if (button) {
            m_savedModeLock = button->modeLocked;
            m_savedFixedOn = button->fixedStateOn;
            m_savedFixedState = button->fixedState;
        }
    }
    m_pictureCount = pictureCount;
}

uint32_t StateAnimator::PictureDuration(const t_image* picture)
{
    if (!picture || picture->IsEmpty())
        return 0;
    const t_imageSource* source = picture->source;
    if (source && source->kind == t_imageSource::e_frames)
        return source->Frames().cycle * c_msPerDelayUnit;
    return c_stillPictureMs;
}

uint32_t StateAnimator::CurrentDuration() const
{
    if (!m_button || m_state < 0)
        return 0;
    return PictureDuration(m_button->GetImage(m_picture, m_state % c_stateCount));
}

void StateAnimator::ShowPicture(int picture)
{
    m_button->modeLocked = false;
    m_button->SetMode(picture);
    // Locked, so that the button's own reading of the input method's state leaves it.
    m_button->modeLocked = true;
}

void StateAnimator::ShowState(int state)
{
    m_button->fixedStateOn = false;
    m_button->SetFixedState(state % c_stateCount);
    m_button->fixedStateOn = true;
    m_button->RestartAnimation(state % c_stateCount, m_picture);
}

bool StateAnimator::Step(uint32_t now)
{
    if (!m_running || !m_button)
        return false;
    const int count = m_pictureCount > 0 ? m_pictureCount : 1;
    int next = -1;
    if (m_picture < 0 || m_picture >= count)
        next = 0;
    else if (m_state >= c_cycleDone || m_state < 0 || CurrentDuration() == 0)
        next = (m_picture + 1) % count;
    if (next >= 0) {
        m_picture = next;
        m_state = 0;
        ShowPicture(next);
        ShowState(0);
        m_stateStart = now;
        return true;
    }
    const uint32_t duration = CurrentDuration();
    if (duration == 0 || now - m_stateStart < duration)
        return false;
    m_state = (m_state + 1) % c_stateCount;
    if (m_state == 0)
        m_state = c_cycleDone;
    ShowState(m_state);
    m_stateStart = now;
    return true;
}

void StateAnimator::Stop()
{
    if (m_running && m_button) {
        m_button->modeLocked = false;
        m_button->SetMode(0);
        m_button->modeLocked = m_savedModeLock;
        m_button->fixedStateOn = m_savedFixedOn;
        m_button->fixedState = m_savedFixedState;
    }
    Reset();
    m_running = false;
}
